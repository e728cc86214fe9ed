#include "LevelFileFixture.h"

#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Framework/Gui/PackBuilder.h"
#include "Game/Data/NQResources.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPathSample.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/NQFxAnchor.h"
#include "Game/Units/NQSpot.h"
#include "LevelFileFixtures.h"
#include "PathCacheWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace leveltest
{
namespace
{
using Lanes = std::vector<std::pair<int, int32_t>>;

const std::wstring kLevelPath = L"nq/levels_normal/level_01_01.xml";
const std::string kCachePath = "nq/levels_normal/level_01_01.cache";

const unsigned char kSample[64] = {
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
    0xec, 0xff, 0xff, 0xff, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xa0, 0x41, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3f, 0x00, 0x00, 0xf0, 0x41, 0x00, 0x00, 0xa0, 0x41,
};

TEST_F(LevelFileTest, PathCacheName)
{
    const struct
    {
        int32_t mode, episode, level;
        const wchar_t* name;
    } cases[] = {
        {2, 1, 0, L"nq/levels_normal/level_02_01.cache"},
        {3, 1, 0, L"nq/levels_hardcore/level_02_01.cache"},
        {0, 9, 11, L"nq/levels_normal/level_10_12.cache"},
        {1, 0, 0, L"nq/levels_normal/level_01_01.cache"},
    };
    for (const auto& c : cases)
    {
        map->mMode = c.mode;
        map->mEpisode = c.episode;
        map->mLevel = c.level;
        EXPECT_EQ(map->GetPathCacheName(), c.name);
    }
}

TEST_F(LevelFileTest, CacheOnTheDiskReplacesTheComputation)
{
    data->Write(kCachePath, std::string(reinterpret_cast<const char*>(kSample), sizeof(kSample)));
    ASSERT_TRUE(ReadLevel(gametest::ExampleLevelXml()));
    // The cache's one lane, not the lanes 0 and -7 of the waves.
    EXPECT_EQ(StoredLanes(), (Lanes{{0, -20}}));
    const std::vector<NQPathSample*>& lane = (*map->mLanePaths)[0]->mLanes.at(-20);
    ASSERT_EQ(lane.size(), 2u);
    EXPECT_EQ(lane[1]->x, 30.0f);

    // An empty cache is a loaded one: nothing computed, until a walker asks.
    data->Write(kCachePath, std::string(4, '\0'));
    map->BuildRoutes();
    EXPECT_TRUE(map->mLanePaths->empty());
    std::vector<NQPathSample*> walked;
    ASSERT_TRUE(map->FindLanePath(Link(1), -7, walked));
    EXPECT_GE(walked.size(), 20u);
    EXPECT_EQ(StoredLanes(), (Lanes{{1, -7}}));
}

TEST_F(LevelFileTest, DamagedCacheComputesTheRoutes)
{
    const std::string sample(reinterpret_cast<const char*>(kSample), sizeof(kSample));
    std::string badLink = sample;
    badLink[4] = 2; // the example has two links
    for (const std::string& bytes : {sample.substr(0, 63), badLink, std::string("\xff\xff\xff\xff", 4)})
    {
        data->Write(kCachePath, bytes);
        ASSERT_TRUE(ReadLevel(gametest::ExampleLevelXml()));
        EXPECT_EQ(StoredLanes(), (Lanes{{0, -7}, {0, 0}, {1, -7}, {1, 0}}));
        EXPECT_EQ(map->LoadPathCache(*map->mLanePaths), HV_FAIL);
    }
}

TEST_F(LevelFileTest, CacheRoundTrip)
{
    ASSERT_TRUE(ReadLevel(gametest::ContentSizedLevelXml()));
    ASSERT_GT(map->mLanePaths->size(), 10u);
    const Lanes computed = StoredLanes();
    // Copies of the computed samples, in table order.
    std::vector<std::vector<NQPathSample>> samples;
    for (const NQLinkLanes* entry : *map->mLanePaths)
        for (const auto& [offset, lane] : entry->mLanes)
        {
            samples.emplace_back();
            for (const NQPathSample* sample : lane)
                samples.back().push_back(*sample);
        }
    data->Write(kCachePath, gametest::WritePathCache(*map->mLanePaths, *map->mLinks));

    map->BuildRoutes();
    EXPECT_EQ(StoredLanes(), computed);
    size_t k = 0;
    for (const NQLinkLanes* entry : *map->mLanePaths)
        for (const auto& [offset, lane] : entry->mLanes)
        {
            ASSERT_EQ(lane.size(), samples[k].size());
            for (size_t i = 0; i < lane.size(); ++i)
                EXPECT_EQ(std::memcmp(lane[i], &samples[k][i], sizeof(NQPathSample)), 0) << offset << " " << i;
            ++k;
        }
}

// The example level on a data root with its picture and the interface parts,
// loaded loose or from "data.dat", with or without its cache.
class ExampleLevelTest : public LevelFileTest
{
protected:
    void SetUp() override
    {
        LevelFileTest::SetUp();
        StartApplication();
        data->WriteLayeredImage("nq/data/ui_parts", {{"spots/s", 0, 0, 40, 30},
                                                     {"spots/g", 0, 0, 50, 40},
                                                     {"spots/p", 0, 0, 60, 44},
                                                     {"ui/radius_boost", 0, 0, 10, 10}});
        data->WriteLayeredImage("nq/data/levels/l1", {{"ground", 0, 0, 64, 48, 0xFF0000FFu, 1},
                                                      {"^trees", 10, 20, 30, 40, 0xFF00FF00u, 0},
                                                      {"fx/a1", 100, 200, 8, 8},
                                                      {"fx/a2", 300, 400, 8, 8}});
        data->Write(base::WideToUtf8(kLevelPath), gametest::ExampleLevelXml());
    }

    void LoadAndCheck(const char* name, const Lanes& lanes)
    {
        SCOPED_TRACE(name);
        NQResources::Instance()->DeleteSpriteSets();
        NQResources::Instance()->PreloadSpriteSets(L"nq/data/ui_parts");
        map->LoadLevelXml(kLevelPath);
        map->BuildRoutes();
        EXPECT_EQ(map->mPoints->size(), 3u);
        EXPECT_EQ(map->mLinks->size(), 2u);
        ASSERT_EQ(map->mSpots->size(), 1u);
        EXPECT_TRUE((*map->mSpots)[0]->mOwned);
        ASSERT_EQ(map->mDecorationSet->mSpotFrames.size(), 1u);
        EXPECT_NE(map->mDecorationSet->mSpotFrames[0]->mPicture, nullptr);
        ASSERT_EQ(map->mWaveManager->mWaves.size(), 1u);
        EXPECT_EQ(map->mWaveManager->mWaves[0]->mEntries.size(), 2u);
        EXPECT_EQ(map->mWaveManager->mWaves[0]->mTimeout, 2);
        EXPECT_EQ(map->mDecorationSet->mFrames.size(), 3u); // the spot frame and two decorations
        EXPECT_EQ(map->mFxAnchors->size(), 2u);
        EXPECT_EQ(StoredLanes(), lanes);
    }
};

TEST_F(ExampleLevelTest, LooseAndPackedWithAndWithoutCache)
{
    const Lanes computed{{0, -7}, {0, 0}, {1, -7}, {1, 0}};
    LoadAndCheck("loose", computed);
    // Extra is carried only by a cache: it tells where the lanes came from.
    for (NQLinkLanes* entry : *map->mLanePaths)
        for (auto& [offset, lane] : entry->mLanes)
            for (NQPathSample* sample : lane)
                sample->extra = 5.0f;
    const std::string cache = gametest::WritePathCache(*map->mLanePaths, *map->mLinks);

    std::wstring failure;
    ASSERT_EQ(gui::BuildPack(L"nq/", L"data.dat", &failure), HV_OK) << base::WideToUtf8(failure);
    file::FileManager::Instance()->mountTable[L"nq/"] = L"data.dat";
    // Only the pack serves the level now.
    std::remove(base::WideToUtf8(kLevelPath).c_str());
    LoadAndCheck("packed", computed);
    EXPECT_EQ((*map->mLanePaths)[1]->mLanes.at(0).back()->extra, 0.0f);

    // A cache written after the pack was built is not in it: found on the disk.
    data->Write(kCachePath, cache);
    LoadAndCheck("packed with the cache", computed);
    EXPECT_EQ((*map->mLanePaths)[1]->mLanes.at(0).back()->extra, 5.0f);
    data->Write(kCachePath, std::string(4, '\0'));
    LoadAndCheck("packed with an empty cache", {});
    file::FileManager::Instance()->mountTable.clear();
}
} // namespace
} // namespace leveltest
