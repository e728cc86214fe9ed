#include "Core/Base/Base64.h"

#include <gtest/gtest.h>

namespace
{
TEST(Base64Test, EncodeAndDecodeTable)
{
    const struct
    {
        std::string data, text;
    } cases[] = {
        {"", ""},
        {"M", "TQ=="},
        {"Ma", "TWE="},
        {"Man", "TWFu"},
        {"Many", "TWFueQ=="},
        {std::string("\0\xFF\x80", 3), "AP+A"},
        {"\xFB\xFF", "+/8="},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(base::Base64Encode(c.data), c.text);
        EXPECT_EQ(base::Base64Decode(c.text), c.data);
    }
}

TEST(Base64Test, RoundTripsOfEveryShortLength)
{
    std::string data;
    for (int length = 0; length <= 4; ++length)
    {
        EXPECT_EQ(base::Base64Decode(base::Base64Encode(data)), data);
        data.push_back(static_cast<char>(0xF0 + length));
    }
}

TEST(Base64Test, DecodingStops)
{
    EXPECT_EQ(base::Base64Decode("TWE=TWFu"), "Ma");        // at '='
    EXPECT_EQ(base::Base64Decode("TWFu\nTWFu"), "Man");     // at a line break
    EXPECT_EQ(base::Base64Decode("TWFuT"), "Man");          // one leftover gives nothing
    EXPECT_EQ(base::Base64Decode("TW-Fu"), "M");
}
} // namespace
