// Every level the content ships has its path cache, and the cache holds the
// very lane paths the level computes without it: the same links in the same
// order, the same lanes, the same samples, byte for byte in the cache's layout.
#include "BuiltContentFixture.h"
#include "PathCacheWriter.h"

#include "Core/Base/DeleteAll.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/NQLinkLanes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr int kNormalMode = 1;
constexpr int kHardcoreMode = 3;
constexpr int kEpisodes = 3;
constexpr int kNormalLevels = 6;
constexpr int kHardcoreLevels = 3;

struct ShippedLevel
{
    std::string folder;
    std::string name; // without the extension
    int episode = 0;
    int level = 0;
};

// Every level of the setup: three episodes of six normal and three hardcore levels.
std::vector<ShippedLevel> Levels()
{
    std::vector<ShippedLevel> levels;
    for (const auto& [folder, count] : {std::pair<std::string, int>{"levels_normal", kNormalLevels},
                                        std::pair<std::string, int>{"levels_hardcore", kHardcoreLevels}})
        for (int episode = 0; episode < kEpisodes; ++episode)
            for (int level = 0; level < count; ++level)
            {
                char name[32];
                std::snprintf(name, sizeof(name), "level_%02d_%02d", episode + 1, level + 1);
                levels.push_back({folder, name, episode, level});
            }
    return levels;
}

std::string LevelName(const testing::TestParamInfo<ShippedLevel>& info)
{
    return info.param.folder.substr(std::string("levels_").size()) + "_" + info.param.name.substr(6);
}

class ShippedPathCacheTest : public contenttest::BuiltContentTest, public testing::WithParamInterface<ShippedLevel>
{
protected:
    // The level folders hold the level files alone, each linked: a level then
    // computes its routes until its cache is linked beside it.
    void SetUp() override
    {
        BuiltContentTest::SetUp();
        for (const char* folder : {"levels_normal", "levels_hardcore"})
        {
            const fs::path own = Root() / "nq" / folder;
            fs::remove(own);
            fs::create_directory(own);
            for (const fs::directory_entry& entry : fs::directory_iterator(Content() / "nq" / folder))
                if (entry.path().extension() == ".xml")
                    fs::create_symlink(entry.path(), own / entry.path().filename());
        }
    }

    static std::string Table(NQMap& map, const std::vector<NQLinkLanes*>& table)
    {
        return gametest::WritePathCache(table, *map.mLinks);
    }
};

TEST_P(ShippedPathCacheTest, LoadsTheRoutesTheLevelComputes)
{
    const ShippedLevel& level = GetParam();
    const fs::path cache = Content() / "nq" / level.folder / (level.name + ".cache");
    ASSERT_TRUE(fs::exists(cache)) << "no path cache";

    StartBattle(level.folder == "levels_hardcore" ? kHardcoreMode : kNormalMode, level.episode, level.level);
    const std::string computed = Table(*map, *map->mLanePaths);
    ASSERT_FALSE(map->mLanePaths->empty()) << "no lanes computed";

    const fs::path linked = Root() / "nq" / level.folder / (level.name + ".cache");
    fs::create_symlink(cache, linked);
    std::vector<NQLinkLanes*> loaded;
    EXPECT_EQ(map->LoadPathCache(loaded), HV_OK);
    EXPECT_EQ(Table(*map, loaded), computed);
    // A level start with the cache takes the same table.
    map->BuildRoutes();
    EXPECT_EQ(Table(*map, *map->mLanePaths), computed);
    base::DeleteAll(loaded);
}

INSTANTIATE_TEST_SUITE_P(Content, ShippedPathCacheTest, testing::ValuesIn(Levels()), LevelName);

// The list above is what the content ships: no level file without its place in it.
TEST(ShippedLevels, AreTheLevelsOfTheSetup)
{
    size_t shipped = 0;
    for (const char* folder : {"levels_normal", "levels_hardcore"})
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(HV_CONTENT_ROOT) / "nq" / folder))
            shipped += entry.path().extension() == ".xml" ? 1 : 0;
    EXPECT_EQ(shipped, Levels().size());
}
} // namespace
