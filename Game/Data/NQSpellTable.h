#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct NQSpellEntry;

// The spells sheet ("nq/spells_sheet.csv"), read once with the level object.
class NQSpellTable
{
public:
    static constexpr const wchar_t* kSheetPath = L"nq/spells_sheet.csv";

    // A missing sheet gives an empty table.
    NQSpellTable();
    NQSpellTable(const NQSpellTable&) = delete;
    NQSpellTable& operator=(const NQSpellTable&) = delete;
    ~NQSpellTable();

    // Appends the rows of the sheet's text; the pictures load when an
    // application runs.
    void Read(const std::string& text);
    // The first row of that slot, in sheet order; null when none.
    NQSpellEntry* FindBySlot(int32_t slot) const;

    // Owned, sheet order.
    std::vector<NQSpellEntry*> mEntries;
};
