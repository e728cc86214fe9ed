#include "Game/Data/NQSpellTable.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/FileFunctions.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/Image.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQSpellEntry.h"

#include <cstdlib>

namespace
{
constexpr const char* kTrimmed = " \t\r";
constexpr const char* kSkippedName = "#";
enum Column : size_t
{
    kName = 0,
    kProto = 1,
    kFirstPicture = 2,
    kSecondPicture = 3,
    kSlot = 4,
    kExtra = 5,
};

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(kTrimmed);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(kTrimmed) - first + 1);
}

// Split at the separator; empty pieces are kept.
std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;)
    {
        const size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return pieces;
        start = end + 1;
    }
}

std::string Cell(const std::vector<std::string>& cells, size_t column)
{
    return column < cells.size() ? cells[column] : std::string();
}

// The leading digits after an optional sign; 0 when none.
int32_t CellInt(const std::vector<std::string>& cells, size_t column)
{
    return int32_t(std::atoi(Cell(cells, column).c_str()));
}

void ReleasePicture(render::Image*& picture)
{
    if (!picture)
        return;
    picture->Release();
    delete picture;
    picture = nullptr;
}
} // namespace

NQSpellEntry::~NQSpellEntry()
{
    ReleasePicture(firstPicture);
    ReleasePicture(secondPicture);
}

NQSpellTable::NQSpellTable() { Read(base::ReadTextFile(kSheetPath)); }

NQSpellTable::~NQSpellTable() { base::DeleteAll(mEntries); }

void NQSpellTable::Read(const std::string& text)
{
    for (const std::string& rawLine : Split(Trim(text), '\n'))
    {
        const std::string line = Trim(rawLine);
        if (line.empty())
            continue;
        std::vector<std::string> cells = Split(line, ';');
        for (std::string& cell : cells)
            cell = Trim(cell);
        if (cells[kName] == kSkippedName)
            continue;
        auto* entry = new NQSpellEntry;
        entry->firstPicturePath = Cell(cells, kFirstPicture);
        entry->secondPicturePath = Cell(cells, kSecondPicture);
        entry->protoId = CellInt(cells, kProto);
        entry->slot = CellInt(cells, kSlot);
        entry->extra = CellInt(cells, kExtra);
        entry->firstPicture = LoadGamePicture(base::Utf8ToWide(entry->firstPicturePath), nullptr);
        entry->secondPicture = LoadGamePicture(base::Utf8ToWide(entry->secondPicturePath), nullptr);
        mEntries.push_back(entry);
    }
}

NQSpellEntry* NQSpellTable::FindBySlot(int32_t slot) const
{
    for (NQSpellEntry* entry : mEntries)
        if (entry->slot == slot)
            return entry;
    return nullptr;
}
