#include "Game/Data/LocalStrings.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Base/LookupMiss.h"
#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileHandleWin32.h"

const std::wstring LocalStrings::kFileName = L"nq/strings_en.csv";

namespace
{
constexpr int kAccessReadWrite = 2;
constexpr int kOpenExisting = 2;
constexpr int kFromEnd = 2;
const char kPlaceholderTail[] = ";???\r\n";
const char kLineEnd[] = "\r\n";

// A CR LF line end leaves its CR on the line, where it would end up in a key
// or behind a blank of the text.
void DropCarriageReturn(std::string& line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
}

// "\n" pairs become line feeds; other backslashes stay.
std::wstring ExpandLineBreaks(const std::wstring& text)
{
    if (text.size() <= 1 || text.find(L'\\') == std::wstring::npos)
        return text;
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n')
        {
            out += L'\n';
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}
} // namespace

LocalStrings::LocalStrings() { Load(kFileName); }

void LocalStrings::Load(const std::wstring& path)
{
    const size_t before = mTable.size();
    Parse(base::ReadTextFile(path), mTable);
    mLoaded = mLoaded || mTable.size() > before;
}

void LocalStrings::Parse(const std::string& text, Table& table)
{
    base::StringTokenizer lines(text, '\n', true);
    std::string line;
    while (lines.Next(line))
    {
        DropCarriageReturn(line);
        base::TrimBlanks(line);
        if (line.empty())
            continue;
        base::StringTokenizer cells(line, ';', false);
        std::string key;
        std::string value;
        cells.Next(key);
        cells.Next(value);
        DropCarriageReturn(value);
        table[base::Utf8ToWide(key)] = base::Utf8ToWide(value);
    }
}

std::wstring LocalStrings::Get(const std::wstring& key)
{
    auto found = mTable.find(key);
    if (found == mTable.end())
    {
        base::ReportLookupMiss(base::LookupMissKind::String, key);
        AppendPlaceholder(kFileName, key);
        // Shown as its own name, and reported once per run.
        found = mTable.emplace(key, key).first;
    }
    return ExpandLineBreaks(found->second);
}

void LocalStrings::AppendPlaceholder(const std::wstring& path, const std::wstring& key)
{
    file::FileHandleWin32 handle;
    // Only an existing loose file takes the line: data served from a pack, or
    // a read-only data folder, get nothing.
    if (handle.Open(path, kAccessReadWrite, kOpenExisting) != HV_OK)
        return;
    const uint32_t size = handle.Seek(0, kFromEnd);
    if (size > 0)
    {
        // A last line without its line end would swallow the placeholder.
        char last = 0;
        uint32_t read = 0;
        handle.Seek(-1, kFromEnd);
        if (handle.Read(&last, 1, &read) == HV_OK && read == 1 && last != '\n')
        {
            handle.Seek(0, kFromEnd);
            handle.Write(kLineEnd, sizeof(kLineEnd) - 1);
        }
        handle.Seek(0, kFromEnd);
    }
    const std::string line = base::WideToUtf8(key) + kPlaceholderTail;
    handle.Write(line.data(), static_cast<uint32_t>(line.size()));
    handle.Close();
}

std::wstring LocalText(const std::wstring& key)
{
    return LocalStrings::Instance()->Get(key);
}
