#include "Platform/Win32/CommandLine.h"
#include "Platform/Win32/LastError.h"
#include "Platform/Win32/Module.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <thread>

namespace
{
std::vector<std::wstring> RoundTrip(const std::vector<std::string>& arguments)
{
    win32::SetProcessArguments(arguments);
    int count = -1;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(argv[i]);
    EXPECT_EQ(argv[count], nullptr);
    LocalFree(argv);
    return out;
}

TEST(CommandLine, RoundTripTable)
{
    struct Case
    {
        const char* name;
        std::vector<std::string> arguments;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {"program only", {"/usr/bin/game"}, {L"/usr/bin/game"}},
        {"blank inside", {"game", "a b", "\tx"}, {L"game", L"a b", L"\tx"}},
        {"quotes", {"game", "say \"hi\"", "\"", "\"\""}, {L"game", L"say \"hi\"", L"\"", L"\"\""}},
        {"trailing backslash", {"game", "C:\\dir\\", "a b\\", "\\\\"}, {L"game", L"C:\\dir\\", L"a b\\", L"\\\\"}},
        {"backslashes before a quote", {"game", "a\\\"b", "a\\\\\"b c"}, {L"game", L"a\\\"b", L"a\\\\\"b c"}},
        {"empty arguments", {"game", "", "x", ""}, {L"game", L"", L"x", L""}},
        {"empty program name", {"", "x"}, {L"", L"x"}},
        {"Cyrillic", {"game", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"}, {L"game", L"\x041F\x0440\x0438\x0432\x0435\x0442"}},
        {"beyond the basic plane", {"game", "\xF0\x9F\x98\x80"}, {L"game", std::wstring(1, wchar_t(0x1F600))}},
        {"invalid UTF-8", {"game", "a\xFF" "b", "\xC3"}, {L"game", L"a\xFFFD" L"b", L"\xFFFD"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RoundTrip(c.arguments), c.expected);
    }
}

TEST(CommandLine, SplitsWindowsStyleText)
{
    const std::pair<std::wstring, std::vector<std::wstring>> cases[] = {
        {L"a  b\tc", {L"a", L"b", L"c"}},
        {L"\"a b\"c d", {L"a bc", L"d"}},
        {L"a\\\\b", {L"a\\\\b"}},
        {L"\"a\"\"b\"", {L"a\"b"}},
        {L"  ", {}},
        {L"\"unterminated", {L"unterminated"}},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(win32::SplitCommandLine(line), expected) << std::string(line.begin(), line.end());
}

TEST(CommandLine, EmptyTextGivesTheModulePath)
{
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(L"", &count);
    ASSERT_EQ(count, 1);
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(std::wstring(argv[0]), std::wstring(exe.begin(), exe.end()));
    LocalFree(argv);
}

TEST(ModuleFileName, IsTheExecutableAndACutPathSetsTheError)
{
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::wstring wide(exe.begin(), exe.end());
    ASSERT_NE(GetModuleHandleW(nullptr), nullptr);

    WCHAR buffer[PATH_MAX];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, PATH_MAX), wide.size());
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(std::wstring(buffer), wide);

    WCHAR small[5];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::wstring(small), wide.substr(0, 4));
}

TEST(LastError, IsPerThread)
{
    SetLastError(42);
    DWORD seen = 1;
    std::thread([&] { seen = GetLastError(); }).join();
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(GetLastError(), 42u);
}
} // namespace
