#include "Core/Base/DeleteAll.h"
#include "Core/Base/MemoryStream.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/PathCache.h"
#include "PathCacheWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace
{
// One entry for link 0, no numbers, one lane of offset -20 with the samples
// (extra 0, normal (0, 1), (10, 20)) and (0, 0, 1, 30, 20).
const unsigned char kSample[64] = {
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
    0xec, 0xff, 0xff, 0xff, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xa0, 0x41, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0xf0, 0x41, 0x00, 0x00, 0xa0, 0x41,
};

class PathCacheRead : public ::testing::Test
{
protected:
    PathCacheRead() : mLinks{new NQLink, new NQLink, new NQLink} {}
    ~PathCacheRead() override
    {
        base::DeleteAll(mTable);
        base::DeleteAll(mLinks);
    }

    HVResultEnum Read(const std::string& bytes)
    {
        base::MemoryStream stream(bytes.data(), bytes.size());
        return ReadPathCache(stream, mLinks, mTable);
    }

    static std::string Bytes(const unsigned char* data, size_t size)
    {
        return std::string(reinterpret_cast<const char*>(data), size);
    }

    std::vector<NQLink*> mLinks;
    std::vector<NQLinkLanes*> mTable;
};

void PutWord(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

TEST_F(PathCacheRead, SampleFileFieldByField)
{
    ASSERT_EQ(Read(Bytes(kSample, sizeof(kSample))), HV_OK);
    ASSERT_EQ(mTable.size(), 1u);
    EXPECT_EQ(mTable[0]->mLink, mLinks[0]);
    EXPECT_TRUE(mTable[0]->mNumbers.empty());
    ASSERT_EQ(mTable[0]->mLanes.size(), 1u);
    const std::vector<NQPathSample*>& lane = mTable[0]->mLanes.at(-20);
    ASSERT_EQ(lane.size(), 2u);
    EXPECT_EQ(lane[0]->extra, 0.0f);
    EXPECT_EQ(lane[0]->normalX, 0.0f);
    EXPECT_EQ(lane[0]->normalY, 1.0f);
    EXPECT_EQ(lane[0]->x, 10.0f);
    EXPECT_EQ(lane[0]->y, 20.0f);
    EXPECT_EQ(lane[1]->x, 30.0f);
    EXPECT_EQ(lane[1]->y, 20.0f);
}

TEST_F(PathCacheRead, ExtraComesFirstInTheFile)
{
    std::string bytes = Bytes(kSample, sizeof(kSample));
    float extra = 7.5f;
    uint32_t bits;
    std::memcpy(&bits, &extra, 4);
    PutWord(bytes, 24, bits);
    ASSERT_EQ(Read(bytes), HV_OK);
    const NQPathSample* sample = mTable[0]->mLanes.at(-20)[0];
    EXPECT_EQ(sample->extra, 7.5f);
    EXPECT_EQ(sample->normalX, 0.0f);
    EXPECT_EQ(sample->x, 10.0f);
}

TEST_F(PathCacheRead, CountZeroIsALoadedCacheAndTrailingBytesAreIgnored)
{
    EXPECT_EQ(Read(std::string(4, '\0')), HV_OK);
    EXPECT_TRUE(mTable.empty());
    EXPECT_EQ(Read(Bytes(kSample, sizeof(kSample)) + "tail"), HV_OK);
    EXPECT_EQ(mTable.size(), 1u);
}

TEST_F(PathCacheRead, LaterKeysReplaceEarlierOnes)
{
    // Link 2: numbers 5 -> 1.0, 5 -> 2.0; lanes 3 with one sample, 3 again with none.
    std::string bytes;
    auto put = [&bytes](uint32_t value) {
        bytes.resize(bytes.size() + 4);
        PutWord(bytes, bytes.size() - 4, value);
    };
    auto putFloat = [&put](float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        put(bits);
    };
    put(1);
    put(2);
    put(2);
    put(5);
    putFloat(1.0f);
    put(5);
    putFloat(2.0f);
    put(2);
    put(3);
    put(1);
    for (float v : {0.0f, 0.0f, 1.0f, 4.0f, 5.0f})
        putFloat(v);
    put(3);
    put(0);
    ASSERT_EQ(Read(bytes), HV_OK);
    ASSERT_EQ(mTable.size(), 1u);
    EXPECT_EQ(mTable[0]->mLink, mLinks[2]);
    EXPECT_EQ(mTable[0]->mNumbers, (std::map<int32_t, float>{{5, 2.0f}}));
    ASSERT_EQ(mTable[0]->mLanes.size(), 1u);
    EXPECT_TRUE(mTable[0]->mLanes.at(3).empty());
}

TEST_F(PathCacheRead, DamagedFilesAddNothing)
{
    const std::string sample = Bytes(kSample, sizeof(kSample));
    std::vector<std::pair<std::string, std::string>> cases;
    for (size_t length = 0; length < sample.size(); ++length)
        cases.emplace_back("cut at " + std::to_string(length), sample.substr(0, length));
    // One word of the sample replaced: (name, byte offset, new value).
    const struct
    {
        const char* name;
        size_t at;
        uint32_t value;
    } words[] = {
        {"entry count 0xFFFFFFFF", 0, 0xFFFFFFFFu},
        {"sample count past the end", 20, 3},
        {"number count past the end", 8, 0x10000000u},
        {"lane count past the end", 12, 0x7FFFFFFFu},
        {"link index -1", 4, 0xFFFFFFFFu},
        {"link index = link count", 4, 3},
        {"NaN x", 36, 0x7FC00000u},
        {"infinite extra", 24, 0x7F800000u},
    };
    for (const auto& word : words)
    {
        std::string bytes = sample;
        PutWord(bytes, word.at, word.value);
        cases.emplace_back(word.name, bytes);
    }

    for (const auto& [name, bytes] : cases)
    {
        EXPECT_EQ(Read(bytes), HV_FAIL) << name;
        EXPECT_TRUE(mTable.empty()) << name;
    }
}

TEST_F(PathCacheRead, WriterRoundTrip)
{
    std::vector<NQLinkLanes*> written;
    written.push_back(new NQLinkLanes(mLinks[1]));
    written.push_back(new NQLinkLanes(mLinks[0]));
    written[0]->mNumbers = {{-4, 0.25f}, {9, 1e6f}};
    for (int32_t offset : {-20, 0, 7})
    {
        std::vector<NQPathSample*> samples;
        SampleOffsetBezier({0.0f, 0.0f}, {40.0f, 90.0f}, {120.0f, 10.0f}, float(offset), 20, samples);
        samples.back()->extra = 3.0f;
        written[size_t(offset == 7)]->SetLane(offset, samples);
    }
    const std::string bytes = gametest::WritePathCache(written, mLinks);

    ASSERT_EQ(Read(bytes), HV_OK);
    ASSERT_EQ(mTable.size(), written.size());
    for (size_t i = 0; i < written.size(); ++i)
    {
        EXPECT_EQ(mTable[i]->mLink, written[i]->mLink) << i;
        EXPECT_EQ(mTable[i]->mNumbers, written[i]->mNumbers) << i;
        ASSERT_EQ(mTable[i]->mLanes.size(), written[i]->mLanes.size()) << i;
        for (const auto& [offset, samples] : written[i]->mLanes)
        {
            const std::vector<NQPathSample*>& read = mTable[i]->mLanes.at(offset);
            ASSERT_EQ(read.size(), samples.size()) << offset;
            for (size_t k = 0; k < samples.size(); ++k)
                EXPECT_EQ(std::memcmp(read[k], samples[k], sizeof(NQPathSample)), 0) << offset << " " << k;
        }
    }
    base::DeleteAll(written);
}
} // namespace
