// The bytes as the loose strings file of a temporary data root: the table
// read from it, every key fetched, then one missing key reported.
#include "Core/Base/SingletoneRegistry.h"
#include "Core/Base/TextEncoding.h"
#include "Game/LocalStrings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char* const kStrings = "nq/strings_en.csv";

// A fresh data root made the current directory, once.
void EnterDataRoot()
{
    static const bool entered = [] {
        char pattern[] = "/tmp/hvfuzz-strings-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0 || mkdir("nq", 0700) != 0)
            abort();
        return true;
    }();
    (void)entered;
}

std::string ReadAll()
{
    std::string text;
    FILE* f = fopen(kStrings, "rb");
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
    EnterDataRoot();
    FILE* f = fopen(kStrings, "wb");
    if (!f)
        abort();
    fwrite(data, 1, size, f);
    fclose(f);

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
