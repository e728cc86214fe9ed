// The level's interface pictures from the set "nq/ui": every map filled
// from its frame, and a level whose set lacks some of them still loads and
// draws, leaving out just those pictures.
#include "BattleFixture.h"
#include "QuadRecorder.h"

#include "Core/Render/Image.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{
using gametest::BattleTest;
using gametest::FixtureLayer;
namespace towers = gametest::towers;
namespace units = gametest::units;

class InterfaceSpriteTest : public BattleTest
{
protected:
    // The battle data's parts with the interface pictures, some left out.
    void StartWithInterface(const std::vector<std::string>& leftOut)
    {
        std::vector<FixtureLayer> layers = gametest::UiPartsLayers();
        for (const FixtureLayer& layer : gametest::InterfaceLayers(leftOut))
            layers.push_back(layer);
        data->WriteLayeredImage("nq/data/ui_parts", layers);
        StartBattleOn(gametest::WithSpots(QuietLevelXml(), gametest::SpotXml(400, 330, {{"radius_mult", 1}})));
    }

    // A wounded enemy, a tower and the developer areas: the health bar and
    // the range circle are drawn.
    size_t DrawBusyFrame()
    {
        Economy().mGold = 1000;
        if (map->mTowers.empty())
            BuildOn(0, towers::kCannon);
        NQEnemy* enemy = SpawnNow(units::kTank);
        StepFrames(1);
        enemy->mHealth = enemy->GetMaxHealth() * 0.5f;
        enemy->mHealthBarTimer = 2.0f;
        map->mDebugFlags[2] = 1;
        const size_t quads = Recorder()->Record([&](render::Graphics* g) { map->Draw(g); }).size();
        map->mDebugFlags[2] = 0;
        return quads;
    }
};

TEST_F(InterfaceSpriteTest, EveryMapIsFilledFromItsFrame)
{
    StartWithInterface({});
    ASSERT_EQ(map->mTowerIcons.size(), 20u);
    std::set<const render::Image*> icons;
    for (const auto& [id, picture] : map->mTowerIcons)
    {
        EXPECT_NE(picture, nullptr) << id;
        icons.insert(picture);
    }
    // The three tiers of a line share one icon; the branches have their own.
    EXPECT_EQ(icons.size(), 12u);
    for (int line : {10000, 20000, 30000, 40000})
    {
        EXPECT_EQ(map->mTowerIcons.at(line), map->mTowerIcons.at(line + 1)) << line;
        EXPECT_EQ(map->mTowerIcons.at(line), map->mTowerIcons.at(line + 2)) << line;
        EXPECT_NE(map->mTowerIcons.at(line), map->mTowerIcons.at(line + 100)) << line;
        EXPECT_NE(map->mTowerIcons.at(line + 100), map->mTowerIcons.at(line + 200)) << line;
    }
    ASSERT_EQ(map->mAbilityIcons.size(), 12u);
    std::set<const render::Image*> badges;
    for (const auto& [name, picture] : map->mAbilityIcons)
    {
        EXPECT_NE(picture, nullptr) << name;
        badges.insert(picture);
    }
    EXPECT_EQ(badges.size(), 12u);
    for (render::Image* picture : {map->mRoadMark, map->mPowerBuffPicture, map->mLevel2Mark, map->mLevel3Mark,
                                   map->mSellPicture, map->mBuyPicture, map->mContextGemPicture, map->mBarPicture,
                                   map->mLevelPictures[0], map->mLevelPictures[1], map->mLevelPictures[2]})
        EXPECT_NE(picture, nullptr);
    ASSERT_NE(map->mRadiusPicture, nullptr);
    EXPECT_EQ(map->mRadiusPicture->GetWidth(), gametest::kRadiusPictureSize);
    ASSERT_NE(map->mWaveHints, nullptr);
    EXPECT_NE(map->mWaveHints->mPicture, nullptr);
    EXPECT_NE(map->mFloatingIcons, nullptr);
}

TEST_F(InterfaceSpriteTest, MissingPicturesLeaveOutOnlyTheirDraws)
{
    StartWithInterface({});
    const size_t complete = DrawBusyFrame();
    DestroyLevel();

    StartWithInterface({"bar", "brush", "radius"});
    EXPECT_EQ(map->mBarPicture, nullptr);
    EXPECT_EQ(map->mRoadMark, nullptr);
    EXPECT_EQ(map->mRadiusPicture, nullptr);
    EXPECT_NE(map->mLevel2Mark, nullptr) << "the other pictures are there";
    const size_t lacking = DrawBusyFrame();
    // The bar's red and green quads and the tower's range circle.
    EXPECT_EQ(complete - lacking, 3u);

    // A second of battle without them.
    StepSeconds(1.0f);
}
} // namespace
