// Every level the content ships has its path cache, and the cache holds the
// very lane paths the level computes without it: the same links in the same
// order, the same lanes, the same samples, byte for byte in the cache's layout.
#include "BuiltContentFixture.h"
#include "PathCacheWriter.h"

#include "Core/Base/DeleteAll.h"
#include "Game/NQLinkLanes.h"
#include "Game/NQMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr int kNormalMode = 1;
constexpr int kHardcoreMode = 3;
// Three episodes of six normal and three hardcore levels.
constexpr size_t kShippedLevels = 27;

struct ShippedLevel
{
    std::string folder;
    std::string name; // without the extension
    int episode = 0;
    int level = 0;
};

class ShippedPathCacheTest : public contenttest::BuiltContentTest
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
            for (const ShippedLevel& level : Levels())
                if (level.folder == folder)
                    fs::create_symlink(Content() / "nq" / folder / (level.name + ".xml"), own / (level.name + ".xml"));
        }
    }

    static std::vector<ShippedLevel> Levels()
    {
        std::vector<ShippedLevel> levels;
        for (const char* folder : {"levels_normal", "levels_hardcore"})
            for (const fs::directory_entry& entry : fs::directory_iterator(Content() / "nq" / folder))
            {
                const std::string name = entry.path().stem().string();
                if (entry.path().extension() != ".xml")
                    continue;
                // level_EE_LL
                levels.push_back({folder, name, std::stoi(name.substr(6, 2)) - 1, std::stoi(name.substr(9, 2)) - 1});
            }
        std::sort(levels.begin(), levels.end(),
                  [](const ShippedLevel& a, const ShippedLevel& b) { return a.folder + a.name < b.folder + b.name; });
        return levels;
    }

    static std::string Table(NQMap& map, const std::vector<NQLinkLanes*>& table)
    {
        return gametest::WritePathCache(table, *map.mLinks);
    }
};

TEST_F(ShippedPathCacheTest, EveryLevelLoadsTheRoutesItComputes)
{
    const std::vector<ShippedLevel> levels = Levels();
    EXPECT_EQ(levels.size(), kShippedLevels);
    for (const ShippedLevel& level : levels)
    {
        SCOPED_TRACE(level.folder + "/" + level.name);
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
        fs::remove(linked);
    }
}
} // namespace
