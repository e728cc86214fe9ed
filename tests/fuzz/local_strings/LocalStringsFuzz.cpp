// The bytes as the loose strings file of a temporary data root: the table
// read from it, every key fetched, then one missing key reported.
#include "Core/Base/SingletoneRegistry.h"
#include "Core/Base/TextEncoding.h"
#include "Game/Data/LocalStrings.h"

#include "support/ScratchFolder.h"
#include "support/TempFolder.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// A fresh data root with its "nq" folder, made once.
const std::string& DataRoot()
{
    static const std::string root = [] {
        const std::string folder = hvtest::MakeScratchFolder("/tmp/hvfuzz-strings-XXXXXX");
        if (mkdir((folder + "/nq").c_str(), 0700) != 0)
            abort();
        return folder;
    }();
    return root;
}

const std::string& StringsPath()
{
    static const std::string path = DataRoot() + "/nq/strings_en.csv";
    return path;
}

std::string ReadAll()
{
    std::string text;
    FILE* f = fopen(StringsPath().c_str(), "rb");
    if (!f)
        abort();
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = fopen(StringsPath().c_str(), "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);
    // The table reads its file from the current folder; libFuzzer reads a
    // relative corpus from the folder it started in, so it is given back.
    hvtest::CurrentDirectory inRoot(DataRoot());

    LocalStrings* strings = LocalStrings::Instance();
    const LocalStrings::Table table = strings->GetTable();
    for (const auto& entry : table)
    {
        const std::wstring text = strings->Get(entry.first);
        // A line feed only ever comes from a backslash-n pair.
        if (text.size() > entry.second.size())
            abort();
    }
    // Present keys never touch the file.
    const std::string before = ReadAll();
    if (before.size() != size)
        abort();

    const std::wstring missing = L"\u0444uzz_missing_key";
    if (table.count(missing) == 0)
    {
        if (strings->Get(missing) != missing)
            abort();
        strings->Get(missing);
        const std::string after = ReadAll();
        const std::string line = base::WideToUtf8(missing) + ";???\r\n";
        const bool joined = !before.empty() && before.back() != '\n';
        if (after != before + (joined ? "\r\n" : "") + line)
            abort();
    }
    base::testing::TeardownSingletonsNow();
    return 0;
}
