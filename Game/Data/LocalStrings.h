#pragma once

// The localised texts by key, from "nq/strings_en.csv". A key the table lacks
// is appended as a placeholder line to the loose strings file of the data root.
#include "Core/Base/Singletone.h"

#include <map>
#include <string>

class LocalStrings : public base::Singletone<LocalStrings>
{
public:
    using Table = std::map<std::wstring, std::wstring>;

    // Loads kFileName.
    LocalStrings();

    // Adds and overwrites; never removes.
    void Load(const std::wstring& path);
    // Whether a strings file gave any text; the placeholders of missing keys
    // do not count.
    bool IsLoaded() const { return mLoaded; }
    // The text with "\n" pairs turned into line feeds; a missing key is
    // reported once and answers with itself.
    std::wstring Get(const std::wstring& key);

    const Table& GetTable() const { return mTable; }

    // Enters every line of a strings file's text into the table.
    static void Parse(const std::string& text, Table& table);
    // Appends "key;???" CR LF to the existing loose file at path; creates nothing.
    static void AppendPlaceholder(const std::wstring& path, const std::wstring& key);

    static const std::wstring kFileName;

private:
    Table mTable;
    bool mLoaded = false;
};

// The localised text of the key.
std::wstring LocalText(const std::wstring& key);
