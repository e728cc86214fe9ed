#include "Core/Base/StringTokenizer.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
template <class Tokenizer, class String>
std::vector<String> AllTokens(Tokenizer& tokenizer)
{
    std::vector<String> tokens;
    String token;
    while (tokenizer.Next(token))
        tokens.push_back(token);
    return tokens;
}

struct Case
{
    std::string text;
    bool skipEmpty;
    std::vector<std::string> tokens;
};

const Case kCases[] = {
    {"a;;b", false, {"a", "", "b"}},
    {"a;;b", true, {"a", "b"}},
    {"a; b ;c", false, {"a", "b", "c"}},
    {"a;b;", false, {"a", "b", ""}},
    {"a;b;", true, {"a", "b"}},
    {"", false, {""}},
    {"", true, {}},
    {" \t ", false, {""}},
    {";", false, {"", ""}},
    {" ; ;x\r", true, {"x\r"}},
};

TEST(StringTokenizerTest, TokensNarrowAndWide)
{
    for (const Case& c : kCases)
    {
        SCOPED_TRACE("\"" + c.text + "\" skip=" + std::to_string(c.skipEmpty));
        base::StringTokenizer narrow(c.text, ';', c.skipEmpty);
        EXPECT_EQ(narrow.CountTokens(), static_cast<int>(c.tokens.size()));
        EXPECT_EQ((AllTokens<base::StringTokenizer, std::string>(narrow)), c.tokens);

        base::WStringTokenizer wide(std::wstring(c.text.begin(), c.text.end()), L';', c.skipEmpty);
        std::vector<std::wstring> expected;
        for (const std::string& t : c.tokens)
            expected.emplace_back(t.begin(), t.end());
        EXPECT_EQ((AllTokens<base::WStringTokenizer, std::wstring>(wide)), expected);
    }
}

TEST(StringTokenizerTest, CountTokensRestoresThePositionAndIsKept)
{
    base::StringTokenizer tokenizer("a;;b;c", ';', true);
    std::string token;
    ASSERT_TRUE(tokenizer.Next(token));
    EXPECT_EQ(tokenizer.CountTokens(), 3);
    ASSERT_TRUE(tokenizer.Next(token));
    EXPECT_EQ(token, "b");
    ASSERT_TRUE(tokenizer.Next());
    EXPECT_FALSE(tokenizer.Next());
    EXPECT_EQ(tokenizer.CountTokens(), 3); // kept, not recounted from the end
}

TEST(StringTokenizerTest, NextWithoutOutputSkipsBlankTokens)
{
    base::StringTokenizer tokenizer(" ; \t;x", ';', true);
    EXPECT_TRUE(tokenizer.Next());
    EXPECT_FALSE(tokenizer.Next());
}

TEST(StringTokenizerTest, NumbersLeaveTheValueWhenNoTokenIsLeft)
{
    base::StringTokenizer tokenizer("12;-3.5;x;7\r", ';', false);
    int a = 0, c = 0, d = 0, e = 99;
    float b = 0;
    tokenizer.NextInt(a).NextFloat(b).NextInt(c).NextInt(d).NextInt(e);
    EXPECT_EQ(a, 12);
    EXPECT_FLOAT_EQ(b, -3.5f);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(d, 7);
    EXPECT_EQ(e, 99);

    base::WStringTokenizer wide(L"4;2.25", L';', false);
    int i = 0;
    float f = 0, g = 5;
    wide.NextInt(i).NextFloat(f).NextFloat(g);
    EXPECT_EQ(i, 4);
    EXPECT_FLOAT_EQ(f, 2.25f);
    EXPECT_FLOAT_EQ(g, 5.0f);
}

TEST(StringTokenizerTest, TrimAndRemove)
{
    std::string text = " \t a b\r\n \t";
    base::TrimBlanks(text);
    EXPECT_EQ(text, "a b\r\n");
    std::wstring wide = L"\t\t";
    base::TrimBlanksW(wide);
    EXPECT_EQ(wide, L"");
    std::string out = "x";
    base::RemoveChar(" a b ;c ", ' ', out);
    EXPECT_EQ(out, "xab;c");
}
} // namespace
