#include "Core/File/PackNameText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
TEST(PackNameTextTest, ConversionIsExactBothWays)
{
    struct Case
    {
        std::wstring wide;
        std::u16string units;
    };
    const std::vector<Case> cases = {
        {L"", u""},
        {L"data/x.png", u"data/x.png"},
        {L"\u043a\u0430\u0440\u0442\u0430", u"\u043a\u0430\u0440\u0442\u0430"},
        {L"\U0001F600", {0xD83D, 0xDE00}},
        {L"a\U0001F600b", {u'a', 0xD83D, 0xDE00, u'b'}},
        // Lone surrogates keep their values.
        {std::wstring(1, wchar_t(0xD800)), {0xD800}},
        {std::wstring{wchar_t(0xDC00), L'x'}, {0xDC00, u'x'}},
        {std::wstring{wchar_t(0xDE00), wchar_t(0xD83D)}, {0xDE00, 0xD83D}}, // reversed pair
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(file::ToPackUnits(c.wide), c.units);
        EXPECT_EQ(file::FromPackUnits(c.units), c.wide);
    }
}

TEST(PackNameTextTest, OrderFollowsUtf16UnitsNotCodePoints)
{
    const file::PackNameLess less;
    // U+1F600 is D83D DE00 in UTF-16, below U+FF01.
    EXPECT_TRUE(less(L"\U0001F600", L"\uFF01"));
    EXPECT_FALSE(less(L"\uFF01", L"\U0001F600"));
    EXPECT_TRUE(less(L"a", L"ab"));
    EXPECT_FALSE(less(L"ab", L"ab"));
    EXPECT_TRUE(less(L"B", L"a")); // by code unit, not by case

    std::vector<std::wstring> names = {L"\uFF01x", L"z", L"\U0001F600y", L"", L"\uE000"};
    std::sort(names.begin(), names.end(), less);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"", L"z", L"\U0001F600y", L"\uE000", L"\uFF01x"}));
}
}
