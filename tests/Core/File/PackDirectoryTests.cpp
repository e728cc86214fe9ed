#include "Core/Base/MemoryStream.h"
#include "Core/File/PackDirectory.h"
#include "support/PackBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using namespace std::string_literals;

std::string Le32(uint32_t v)
{
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string Header(uint32_t count)
{
    return Le32(6) + "hvpack" + Le32(count);
}

// A record with a one-byte-per-unit ASCII name.
std::string Record(const std::string& name, uint32_t size, uint32_t offset)
{
    std::string r = Le32(uint32_t(name.size()));
    for (char c : name)
        r += std::string{c, '\0'};
    return r + Le32(size) + Le32(offset) + '\0' + Le32(0);
}

file::PackDirectory ReadDirectory(const std::string& bytes, HVResultEnum* result = nullptr)
{
    base::MemoryStream stream(bytes.data(), bytes.size());
    file::PackDirectory directory;
    const HVResultEnum r = directory.Read(stream);
    if (result)
        *result = r;
    return directory;
}

std::string WriteDirectory(const file::PackDirectory& directory)
{
    base::MemoryStream stream;
    EXPECT_EQ(directory.Write(stream), HV_OK);
    return std::string(reinterpret_cast<const char*>(stream.GetData()), stream.Size());
}

TEST(PackDirectoryTest, OneEntrySampleIsByteExact)
{
    const std::string pack = hvtest::BuildPack({{L"a", "xyz"}});
    const std::string expected = Header(1) + Le32(1) + "a\0"s + Le32(3) + Le32(33) + '\0' + Le32(0) + "xyz";
    ASSERT_EQ(pack.size(), 36u);
    EXPECT_EQ(pack, expected);

    HVResultEnum result = HV_FAIL;
    const file::PackDirectory directory = ReadDirectory(pack, &result);
    EXPECT_EQ(result, HV_OK);
    EXPECT_EQ(directory.GetSize(), 33u);
    ASSERT_EQ(directory.entries.size(), 1u);
    EXPECT_EQ(directory.entries.at(L"a").size, 3u);
    EXPECT_EQ(directory.entries.at(L"a").offset, 33u);
}

TEST(PackDirectoryTest, EmptyPackIsFourteenBytes)
{
    const std::string pack = hvtest::BuildPack({});
    EXPECT_EQ(pack, Header(0));
    HVResultEnum result = HV_FAIL;
    EXPECT_TRUE(ReadDirectory(pack, &result).entries.empty());
    EXPECT_EQ(result, HV_OK);
}

TEST(PackDirectoryTest, NamesBeyondAsciiRoundTripByteIdentical)
{
    const std::wstring cyrillic = L"\u0437\u0432\u0443\u043a/\u0444\u0430\u0439\u043b.ogg";
    const std::wstring emoji = L"\U0001F600";
    const std::wstring fullwidth = L"\uFF01";
    const std::string pack = hvtest::BuildPack({{fullwidth, "f"}, {cyrillic, "c"}, {emoji, "e"}});

    const file::PackDirectory directory = ReadDirectory(pack);
    ASSERT_EQ(directory.entries.size(), 3u);
    const std::string rewritten = WriteDirectory(directory);
    EXPECT_EQ(rewritten, pack.substr(0, directory.GetSize()));

    // U+1F600 is two UTF-16 units and sorts before U+FF01 by those units.
    const std::string emojiRecord = Le32(2) + "\x3D\xD8\x00\xDE"s;
    const size_t emojiAt = pack.find(emojiRecord);
    const size_t fullwidthAt = pack.find(Le32(1) + "\x01\xFF"s);
    ASSERT_NE(emojiAt, std::string::npos);
    ASSERT_NE(fullwidthAt, std::string::npos);
    EXPECT_LT(emojiAt, fullwidthAt);
    EXPECT_EQ(directory.entries.begin()->first, cyrillic);
}

TEST(PackDirectoryTest, LoneSurrogateNamesWriteBackUnchanged)
{
    const std::string name = Le32(2) + "\x00\xD8\x41\x00"s; // D800 'A'
    const std::string pack = Header(1) + name + Le32(0) + Le32(14 + 4 + 4 + 13) + '\0' + Le32(0);
    const file::PackDirectory directory = ReadDirectory(pack);
    ASSERT_EQ(directory.entries.size(), 1u);
    EXPECT_EQ(directory.entries.begin()->first, (std::wstring{wchar_t(0xD800), L'A'}));
    EXPECT_EQ(WriteDirectory(directory), pack);
}

TEST(PackDirectoryTest, DamagedPacksKeepWhatCameBeforeTheDamage)
{
    const std::string data = "0123456789";
    struct Case
    {
        const char* what;
        std::string bytes;
        std::vector<std::wstring> names;
        HVResultEnum result = HV_FAIL;
    };
    // Offsets point into the trailing data; exact values only matter for range checks.
    const uint32_t end = 200;
    const std::vector<Case> cases = {
        {"wrong magic", Le32(6) + "hvpacx" + Le32(1) + Record("a", 1, 0), {}},
        {"magic length 5", Le32(5) + "hvpac" + Le32(1) + Record("a", 1, 0), {}},
        {"magic length all ones", Le32(0xFFFFFFFF) + "hvpack" + Le32(1) + Record("a", 1, 0), {}},
        {"count all ones, one record", Header(0xFFFFFFFF) + Record("a", 2, 0) + data, {L"a"}},
        {"name length 0x7FFFFFFF", Header(1) + Le32(0x7FFFFFFF) + "a\0"s + data, {}},
        {"truncated after the first record", Header(3) + Record("a", 1, 0) + Record("b", 1, 0).substr(0, 9), {L"a"}},
        {"record cut inside its fields", Header(1) + Record("a", 1, 0).substr(0, 12), {}},
        {"an entry past the end", Header(3) + Record("a", 1, 0) + Record("b", 1, end) + Record("c", 2, 1) + data,
         {L"a", L"c"}},
        {"an offset near 4 GiB", Header(2) + Record("a", 0x10, 0xFFFFFFF8) + Record("b", 1, 0) + data, {L"b"}},
        {"duplicate names", Header(2) + Record("a", 1, 0) + Record("a", 5, 0) + data, {L"a"}, HV_OK},
    };
    for (const Case& c : cases)
    {
        HVResultEnum result = HV_OK;
        const file::PackDirectory directory = ReadDirectory(c.bytes, &result);
        std::vector<std::wstring> names;
        for (const auto& entry : directory.entries)
            names.push_back(entry.first);
        EXPECT_EQ(names, c.names) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
    }
    // The first of two records with one name wins.
    EXPECT_EQ(ReadDirectory(Header(2) + Record("a", 1, 0) + Record("a", 5, 0) + data).entries.at(L"a").size, 1u);
}

// Reports a pack bigger than 2 GiB without holding it.
class HugeStream : public base::MemoryStream
{
public:
    using base::MemoryStream::MemoryStream;
    uint32_t Size() const override { return 0xC0000000u; }
};

TEST(PackDirectoryTest, EntriesEndingBeyondTwoGibibytesAreLeftOut)
{
    const std::string bytes = Header(3) + Record("a", 0x10, 0x7FFFFFF0) + Record("b", 0x0F, 0x7FFFFFF0) +
                              Record("c", 0x80000000, 0);
    HugeStream stream(bytes.data(), bytes.size());
    file::PackDirectory directory;
    EXPECT_EQ(directory.Read(stream), HV_FAIL);
    ASSERT_EQ(directory.entries.size(), 1u);
    EXPECT_EQ(directory.entries.begin()->first, L"b");
}
}
