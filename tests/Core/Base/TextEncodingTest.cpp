#include "Core/Base/TextEncoding.h"

#include <gtest/gtest.h>

namespace
{
struct Case
{
    const char* name;
    int encoding;
    std::string narrow;
    std::wstring wide;
};

// Texts that convert exactly both ways.
const Case kRoundTrips[] = {
    {"bytes ascii", 0, "abc", L"abc"},
    {"bytes high", 0, "\x80\xFF", std::wstring{wchar_t(0xFF80), wchar_t(0xFFFF)}},
    {"utf8 cyrillic", 1, "\xD0\x96\xD1\x8F", L"\u0416\u044F"},
    {"utf8 emoji", 1, "\xF0\x9F\x98\x80", L"\U0001F600"},
    {"ansi cyrillic", 2, "\xD0\x96\xD1\x8F", L"\u0416\u044F"},
    {"ansi emoji", 2, "a\xF0\x9F\x98\x80", L"a\U0001F600"},
    {"oem", 3, "\x80\x9E z", L"\u00C7\u20A7 z"},
    {"empty", 1, "", L""},
};

TEST(TextEncodingTest, RoundTrips)
{
    for (const Case& c : kRoundTrips)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(base::ToWide(c.narrow, c.encoding), c.wide);
        EXPECT_EQ(base::ToNarrow(c.wide, c.encoding), c.narrow);
    }
}

TEST(TextEncodingTest, BadUtf8BecomesReplacementAndKeepsTheRest)
{
    const struct
    {
        const char* name;
        std::string narrow;
        std::wstring wide;
    } cases[] = {
        {"lone FF", "a\xFF" "b", L"a\uFFFDb"},
        {"truncated middle", "a\xE2\x82" "b", L"a\uFFFDb"},
        {"truncated end", "ab\xF0\x9F\x98", L"ab\uFFFD"},
        {"encoded surrogate", "a\xED\xA0\x80" "b", L"a\uFFFDb"},
        {"overlong", "a\xC0\xAF" "b", L"a\uFFFDb"},
        {"above U+10FFFF", "a\xF4\x90\x80\x80" "b", L"a\uFFFDb"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(base::ToWide(c.narrow, 1), c.wide);
        EXPECT_EQ(base::ToWide(c.narrow, 2), c.wide);
    }
}

TEST(TextEncodingTest, ValuesThatAreNoCodePoint)
{
    const std::wstring text{L'a', wchar_t(0xD800), L'b', wchar_t(0x110000), L'c'};
    EXPECT_EQ(base::ToNarrow(text, 1), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c");
    // The ANSI form has none: the result ends there.
    EXPECT_EQ(base::ToNarrow(text, 2), "a");
    EXPECT_EQ(base::ToNarrow(text, 3), "a?b?c");
    EXPECT_EQ(base::ToNarrow(L"\u0416", 3), "?");
}

TEST(TextEncodingTest, ByteEncodingIsSixteenBitSignExtension)
{
    const std::wstring wide = base::ToWide("\x80", 0);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(static_cast<uint32_t>(wide[0]), 0xFF80u);
    EXPECT_EQ(base::ToNarrow(std::wstring{wchar_t(0x1234)}, 0), "\x34");
}

TEST(TextEncodingTest, EmbeddedZerosAndUnknownEncodings)
{
    const std::string withZero("ab\0cd", 5);
    EXPECT_EQ(base::ToWide(withZero, 1), std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(base::ToWide(withZero, 2), L"ab"); // C-string conversion stops at the zero
    EXPECT_EQ(base::ToWide(withZero, 3), L"ab");
    EXPECT_EQ(base::ToWide("abc", 4), L"");
    EXPECT_EQ(base::ToNarrow(L"abc", -1), "");
}
} // namespace
