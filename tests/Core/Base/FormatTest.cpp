#include "Core/Base/Format.h"

#include <gtest/gtest.h>
#include <limits>
#include <variant>
#include <vector>

namespace
{
struct NullText
{
};
using Arg = std::variant<int32_t, uint32_t, float, std::string, NullText>;

struct Case
{
    std::string format;
    std::vector<Arg> args;
    std::string expected;
};

std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

template <class Char>
std::basic_string<Char> Convert(const std::string& s)
{
    return std::basic_string<Char>(s.begin(), s.end());
}

template <class Char>
std::basic_string<Char> Formatted(const Case& c)
{
    const auto format = Convert<Char>(c.format);
    base::BasicFormat<Char> f(format);
    for (const Arg& arg : c.args)
    {
        std::visit(
            [&f](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>)
                    f % Convert<Char>(value);
                else if constexpr (std::is_same_v<T, NullText>)
                    f % static_cast<const Char*>(nullptr);
                else
                    f % value;
            },
            arg);
    }
    return f.GetText();
}

const Case kCases[] = {
    {"plain text", {}, "plain text"},
    {"no specs", {int32_t(1), std::string("x")}, "no specs"},
    {"[%5s]", {std::string("abc")}, "[  abc]"},
    {"[%-5s]", {std::string("abc")}, "[abc  ]"},
    {"[%=6s]", {std::string("abc")}, "[ abc  ]"},
    {"[%=7s]", {std::string("abc")}, "[  abc  ]"},
    {"[%05s]", {std::string("abc")}, "[  abc]"},
    {"[%.2s]", {std::string("abcdef")}, "[abcdef]"},
    {"[%2s]", {std::string("abcdef")}, "[abcdef]"},
    {"[%s]", {int32_t(42)}, "[42]"},
    {"[%d]", {std::string("text")}, "[text]"},
    {"[%d]", {NullText{}}, "[]"},
    {"[%x]", {std::string("text")}, "[text]"},
    {"%d%%", {int32_t(50)}, "50%"},
    {"100%", {}, "100%"},
    {"a%-5", {}, "a5"},
    {"a%-", {}, "a-"},
    {"%5q|", {}, "q|"},
    {"%-5.q%s", {std::string("ab")}, "qab"},
    {"%\xC3" "d", {int32_t(1)}, "\xC3" "d"},
    {"%*d", {int32_t(7)}, "*d"},
    {"%5.2.3f", {}, ".3f"},
    {"%5-d|%d", {int32_t(1), int32_t(2)}, "-d|1"},
    {"%-q%5s", {std::string("ab")}, "qab   "},
    {"%-q%5s|%5s", {std::string("ab"), std::string("cd")}, "qab   |   cd"},
    {"%-5s|%5s", {std::string("ab"), std::string("cd")}, "ab   |   cd"},
    {"%#q%x", {int32_t(255)}, "qff"},
    {"%5q%s", {std::string("ab")}, "qab"},
    {"%x %d", {int32_t(255), int32_t(255)}, "ff 255"},
    // The first unfilled specification is consumed; the rest is copied as written.
    {"%d, %d and %d.", {int32_t(1)}, "1,  and %d."},
    {"%d, %d.", {int32_t(1), int32_t(2), int32_t(3)}, "1, 2."},
    {"%hd %ld %Ld", {int32_t(1), int32_t(2), int32_t(3)}, "1 2 3"},
    {"%lh", {int32_t(1)}, "h"},
    {"%lhd", {int32_t(1)}, "1"},
    {"%dh", {int32_t(1)}, "1h"},
    {"%u %d", {uint32_t(4000000000u), int32_t(-5)}, "4000000000 -5"},
    {"%f|%g", {1.5f, 1.5f}, "1.500000|1.5"},
    {"%.2f", {3.14159f}, "3.14"},
    {"%08.3f", {3.14159f}, "   3.142"},
    {"%+d %+u", {int32_t(5), uint32_t(5)}, "+5 5"},
    {"", {int32_t(1)}, ""},
};

TEST(FormatTest, TableWideAndNarrow)
{
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(Formatted<char>(c), c.expected);
        EXPECT_EQ(Formatted<wchar_t>(c), Widen(c.expected));
    }
}

TEST(FormatTest, WideCharacterAboveAsciiIsRejectedOnItsFullValue)
{
    // 0x164 would index entry 'd' if cut to a byte.
    const std::wstring format = std::wstring(L"[%") + wchar_t(0x164) + L"]";
    base::Format f(format);
    f % int32_t(3);
    EXPECT_EQ(f.GetText(), std::wstring(L"[") + wchar_t(0x164) + L"]");
    EXPECT_TRUE(f.IsDone());
}

TEST(FormatTest, FinishIsIdempotentAndReadsNothingPastTheEnd)
{
    base::FormatA f("x=%d, y=%d!");
    f % int32_t(1);
    f.Finish();
    f.Finish();
    EXPECT_EQ(f.GetText(), "x=1, y=!");
    f % int32_t(2); // done: ignored
    EXPECT_EQ(f.GetText(), "x=1, y=!");

    base::FormatA trailing("a%-5");
    EXPECT_TRUE(trailing.IsDone());
    EXPECT_EQ(trailing.GetText(), "a5");
}

TEST(FormatTest, HugeWidthFromDamagedTextIsCapped)
{
    for (const char* format : {"%4000000000d", "%99999999999s", "%-4294967295d|"})
    {
        SCOPED_TRACE(format);
        base::FormatA f(format);
        f % int32_t(7);
        const std::string text = f.GetText();
        EXPECT_LE(text.size(), 4097u);
        EXPECT_NE(text.find('7'), std::string::npos);
    }
}

TEST(FormatTest, DefaultFormatterAppendsEachArgumentPlainly)
{
    const struct
    {
        float value;
        const wchar_t* text;
    } floats[] = {{25.0f, L"25"}, {2.5f, L"2.5"}, {-0.125f, L"-0.125"}, {1e6f, L"1e+006"}};
    for (const auto& c : floats)
    {
        base::Format f;
        f % c.value;
        EXPECT_EQ(f.GetText(), c.text);
    }
    base::Format ints;
    ints % int32_t(42);
    EXPECT_EQ(ints.GetText(), L"42");
    ints % int32_t(-7) % uint32_t(3000000000u) % L"|" % std::wstring(L"s");
    EXPECT_EQ(ints.GetText(), L"42-73000000000|s");

    base::FormatA narrow;
    narrow % int32_t(std::numeric_limits<int32_t>::min()) % 0.5f;
    EXPECT_EQ(narrow.GetText(), "-21474836480.5");
}

TEST(FormatTest, NullFormatTextIsEmpty)
{
    base::Format f(static_cast<const wchar_t*>(nullptr));
    f % int32_t(1);
    EXPECT_EQ(f.GetText(), L"");
}

// Only the exact 32-bit and float overloads exist.
template <class F, class T>
concept Bindable = requires(F& f, T v) { f % v; };
static_assert(Bindable<base::Format, int32_t> && Bindable<base::Format, uint32_t> && Bindable<base::Format, float>);
static_assert(!Bindable<base::Format, long> && !Bindable<base::Format, unsigned long>);
static_assert(!Bindable<base::FormatA, long long> && !Bindable<base::FormatA, unsigned long long>);
static_assert(!Bindable<base::FormatA, double> && !Bindable<base::Format, size_t>);
} // namespace
