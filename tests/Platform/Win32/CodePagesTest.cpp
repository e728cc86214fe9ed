#include "Platform/Win32/CodePages.h"
#include "Platform/Win32/LastError.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
TEST(CodePagesTest, MultiByteToWideCharQueriesThenConverts)
{
    const char* text = "a\xD0\xB6\xF0\x9F\x98\x80"; // a, U+0436, U+1F600
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 4); // terminator included
    wchar_t out[4];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, 4), 4);
    EXPECT_EQ(std::wstring(out), L"a\u0436\U0001F600");

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, out, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, 0, out, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(1234, 0, text, -1, out, 4), 0);
}

TEST(CodePagesTest, MultiByteToWideCharReplacesBadSequences)
{
    const char text[] = "x\xFFy\xE2\x82z\xED\xA0\x80w\xE2";
    const int length = static_cast<int>(sizeof text - 1);
    wchar_t out[16];
    const int n = MultiByteToWideChar(CP_ACP, 0, text, length, out, 16);
    EXPECT_EQ(std::wstring(out, static_cast<size_t>(n)), L"x\uFFFDy\uFFFDz\uFFFDw\uFFFD");
}

TEST(CodePagesTest, WideCharToMultiByteUsesTheDefaultCharacter)
{
    const wchar_t text[] = {L'a', 0xD800, L'b', 0x110000, 0x0436, 0};
    char out[16];
    BOOL used = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, out, 16, "", &used);
    ASSERT_EQ(n, 7); // a, zero, b, zero, two bytes, terminator
    EXPECT_EQ(std::string(out, 7), std::string("a\0b\0\xD0\xB6\0", 7));
    EXPECT_TRUE(used);
    n = WideCharToMultiByte(CP_ACP, 0, text, 3, out, 16, nullptr, &used);
    EXPECT_EQ(std::string(out, static_cast<size_t>(n)), "a?b");
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"ok", 2, nullptr, 0, nullptr, &used), 2);
    EXPECT_FALSE(used);
}

TEST(CodePagesTest, Cp437BothWays)
{
    // A few fixed points of the table, checked against the published code page.
    const struct
    {
        unsigned char oem;
        wchar_t wide;
    } pairs[] = {{0x41, L'A'}, {0x80, 0x00C7}, {0x9E, 0x20A7}, {0xB0, 0x2591},
                 {0xE1, 0x00DF}, {0xFB, 0x221A}, {0xFF, 0x00A0}};
    for (const auto& p : pairs)
    {
        char narrow = static_cast<char>(p.oem);
        wchar_t wide = 0;
        ASSERT_TRUE(OemToCharBuffW(&narrow, &wide, 1));
        EXPECT_EQ(wide, p.wide) << int(p.oem);
        char back = 0;
        ASSERT_TRUE(CharToOemBuffW(&p.wide, &back, 1));
        EXPECT_EQ(static_cast<unsigned char>(back), p.oem);
    }
    // Every byte survives the round trip.
    for (int b = 0; b < 256; ++b)
    {
        char narrow = static_cast<char>(b);
        wchar_t wide = 0;
        char back = 0;
        OemToCharBuffW(&narrow, &wide, 1);
        CharToOemBuffW(&wide, &back, 1);
        EXPECT_EQ(static_cast<unsigned char>(back), b);
    }
    const wchar_t noForm[] = {0x0436, 0x1F600};
    char out[2];
    ASSERT_TRUE(CharToOemBuffW(noForm, out, 2));
    EXPECT_EQ(std::string(out, 2), "??");
}
} // namespace
