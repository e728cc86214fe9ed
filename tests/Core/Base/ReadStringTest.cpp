#include "Core/Base/MemoryStream.h"
#include "Core/Base/ReadString.h"

#include <gtest/gtest.h>

namespace
{
base::MemoryStream StreamOf(const std::string& bytes) { return base::MemoryStream(bytes.data(), bytes.size()); }

TEST(ReadStringTest, ReadsLengthPrefixedTexts)
{
    base::MemoryStream stream = StreamOf(std::string("\x03\0\0\0abc\0\0\0\0", 11));
    std::string text = "old";
    EXPECT_EQ(base::ReadString(stream, text), HV_OK);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(base::ReadString(stream, text), HV_OK);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(stream.AtEnd());
}

TEST(ReadStringTest, ShortOrDamagedInputFails)
{
    const struct
    {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"no length", std::string("\x03\0\0", 3)},
        {"bytes short", std::string("\x05\0\0\0abc", 7)},
        // A damaged length would ask for 4 GiB; nothing is allocated.
        {"huge length", std::string("\xFF\xFF\xFF\xFF" "abcdef", 10)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        base::MemoryStream stream = StreamOf(c.bytes);
        std::string text;
        EXPECT_EQ(base::ReadString(stream, text), HV_FAIL);
        EXPECT_LE(text.capacity(), 64u);
    }
}
} // namespace
