// The battle on the Direct3D 9 stand-in, read back pixel for pixel: the
// enemy shader's tint, the mirrored enemy and what picking finds, and a whole
// battle played through the level's update and drawing, one frame of it
// saved as "battle.png" beside the test program.
#include "BattleFixture.h"
#include "DX9/RenderFixture.h"
#include "DeviceGame.h"

#include "Game/Data/NQUnitProto.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using gametest::BattleTest;
using gametest::EntryXml;
using gametest::WaveXml;
namespace towers = gametest::towers;
namespace units = gametest::units;

constexpr uint32_t kWhite = 0xFFFFFFu;
constexpr uint32_t kCyan = 0x00FFFFu;
constexpr uint32_t kBlack = 0x000000u;
constexpr uint32_t kRed = 0xFF0000u;
constexpr int kTolerance = 3;
// Inside the mark's columns and inside the white part, from the picture's edge.
constexpr float kIntoMark = 5.0f;
constexpr float kIntoWhite = 25.0f;
// The shadow lies across the picture's lower half.
constexpr float kRowBelowTop = 8.0f;

bool Near(uint32_t a, uint32_t b)
{
    return rendertest::Near(a, b, kTolerance);
}

// Half of `over` blended onto the ground.
uint32_t HalfOver(uint32_t over, uint32_t ground)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
        out |= (((((over >> shift) & 0xFF) + ((ground >> shift) & 0xFF)) / 2) & 0xFF) << shift;
    return out;
}

class BattlePixelTest : public BattleTest
{
protected:
    BattlePixelTest() { onDevice = true; }

    // A lopsided enemy at full opacity, standing on the quiet road.
    NQEnemy* StandingEnemy()
    {
        StartBattleOn(QuietLevelXml());
        NQEnemy* enemy = SpawnNow(units::kLopsided);
        if (!enemy)
            return nullptr;
        StepSeconds(1.0f);
        enemy->mAlpha = 1.0f;
        enemy->mOpacity = 1.0f;
        return enemy;
    }

    // The enemy drawn facing that way alone; its bounds in screen units and
    // a row of it above its shadow.
    bool DrawFacing(NQEnemy* enemy, bool left, float& minX, float& maxX, float& y)
    {
        enemy->mFacingLeft = left;
        DrawFrame();
        NQEnemy::Bounds bounds;
        if (!ReadFrame() || !enemy->GetBounds(bounds))
            return false;
        minX = ScreenX(bounds.x - bounds.w / 2.0f);
        maxX = ScreenX(bounds.x + bounds.w / 2.0f);
        y = ScreenY(bounds.y - bounds.h / 2.0f + kRowBelowTop);
        return true;
    }

    float ScreenX(float x) const { return x * map->mZoom + map->mViewOffsetX; }
    float ScreenY(float y) const { return y * map->mZoom + map->mViewOffsetY; }
    float MapX(float x) const { return (x - map->mViewOffsetX) / map->mZoom; }
    float MapY(float y) const { return (y - map->mViewOffsetY) / map->mZoom; }
};

TEST_F(BattlePixelTest, TheEnemyShaderTintsByTheFillColour)
{
    NQEnemy* enemy = StandingEnemy();
    ASSERT_NE(enemy, nullptr);
    ASSERT_NE(map->mWaveManager, nullptr);
    // The sheet's "ff00ffff" took the red out.
    ASSERT_EQ(enemy->GetProto()->fillColor, 0xFF00FFFFu);
    struct Case
    {
        uint32_t fill;
        uint32_t white;
        uint32_t mark;
    };
    const Case cases[] = {
        {0xFF00FFFFu, kCyan, kBlack},
        {0xFFFFFFFFu, kWhite, kRed},
        {0xFFFF0000u, kRed, kRed},
        {0x80FFFFFFu, HalfOver(kWhite, kGroundColour), HalfOver(kRed, kGroundColour)},
    };
    for (const Case& c : cases)
    {
        enemy->GetProto()->fillColor = c.fill;
        float minX = 0.0f;
        float maxX = 0.0f;
        float y = 0.0f;
        ASSERT_TRUE(DrawFacing(enemy, false, minX, maxX, y));
        EXPECT_TRUE(Near(Pixel(minX + kIntoWhite, y), c.white)) << std::hex << c.fill << " " << Pixel(minX + kIntoWhite, y);
        EXPECT_TRUE(Near(Pixel(minX + kIntoMark, y), c.mark)) << std::hex << c.fill << " " << Pixel(minX + kIntoMark, y);
        EXPECT_EQ(Pixel(maxX + 3.0f, y), kGroundColour & 0xFFFFFFu);
    }
}

TEST_F(BattlePixelTest, FacingLeftMirrorsThePictureAndPickingFollowsIt)
{
    NQEnemy* enemy = StandingEnemy();
    ASSERT_NE(enemy, nullptr);
    const uint32_t ground = kGroundColour & 0xFFFFFFu;
    for (const bool left : {false, true})
    {
        float minX = 0.0f;
        float maxX = 0.0f;
        float y = 0.0f;
        ASSERT_TRUE(DrawFacing(enemy, left, minX, maxX, y));
        // The mark is on the picture's left, on the right once mirrored.
        const float markX = left ? maxX - kIntoMark : minX + kIntoMark;
        const float whiteX = left ? maxX - kIntoWhite : minX + kIntoWhite;
        EXPECT_TRUE(Near(Pixel(markX, y), kBlack)) << left << std::hex << " " << Pixel(markX, y);
        EXPECT_TRUE(Near(Pixel(whiteX, y), kCyan)) << left << std::hex << " " << Pixel(whiteX, y);

        // The picture lies off the drawn position: a point of it near the far
        // edge is hit, its mirror image about the drawn position shows the
        // ground and is missed.
        const float drawnX = ScreenX(enemy->mDrawX);
        const float inside = left ? minX + 3.0f : maxX - 3.0f;
        const float mirrored = 2.0f * drawnX - inside;
        EXPECT_NE(Pixel(inside, y), ground) << left;
        EXPECT_EQ(Pixel(mirrored, y), ground) << left;
        EXPECT_EQ(Waves().EnemyAt(MapX(inside), MapY(y)), enemy) << left;
        EXPECT_EQ(Waves().EnemyAt(MapX(mirrored), MapY(y)), nullptr) << left;
    }
}

// A wave of grunts and a gem dropper against a beam tower, a cannon and an arrow tower.
TEST_F(BattlePixelTest, ABattleIsPlayedThroughTheFrameAndWon)
{
    std::string entries;
    for (int i = 0; i < 4; ++i)
        entries += EntryXml(units::kGrunt, float(i) * 60.0f);
    entries += EntryXml(units::kLopsided, 4 * 60.0f) + EntryXml(units::kDropper, 5 * 60.0f);
    const std::string level = gametest::WithSpots(
        gametest::StraightLevelXml(WaveXml("timeout=\"1\" spawn=\"1\"", entries)),
        gametest::SpotXml(330, 330, {{"radius_mult", 1}, {"damage_mult", 10}}) +
            gametest::SpotXml(480, 470, {{"radius_mult", 1}, {"damage_mult", 10}}) +
            gametest::SpotXml(600, 330, {{"radius_mult", 1}, {"damage_mult", 10}}));
    StartBattleOn(level);
    Economy().mGold = 1000;
    ASSERT_NE(BuildOn(0, towers::kCannon), nullptr);
    ASSERT_NE(BuildOn(1, towers::kMagic), nullptr);
    ASSERT_NE(BuildOn(2, towers::kArrow), nullptr);
    const int gemsBefore = Economy().mGems;

    bool saved = false;
    bool beamSeen = false;
    int frames = 0;
    for (; frames < kFrameLimit && map->mScreenState == screen::kPlaying; ++frames)
    {
        Step(frameTime);
        beamSeen = beamSeen || !map->mParticles.empty();
        // One frame mid-battle: enemies on the road and a shot on its way.
        if (!saved && Waves().mEnemies.size() >= 3 && (!map->mParticles.empty() || frames > 600))
        {
            ASSERT_TRUE(ReadFrame());
            ASSERT_EQ(frameWidth, gametest::DeviceGame::kWidth);
            ASSERT_TRUE(gametest::WritePng(gametest::ProgramFolder() + "/battle.png", frameWidth, frameHeight, pixels));
            saved = true;
        }
    }
    EXPECT_TRUE(saved);
    EXPECT_TRUE(beamSeen);
    ASSERT_EQ(map->mScreenState, screen::kWon) << frames;
    EXPECT_EQ(map->mLives, map->mMaxLives);
    // The dropper's gem was lying when the level ended or was collected before.
    EXPECT_GE(Economy().mGems, gemsBefore + 1);
    EXPECT_TRUE(map->mDrops->empty());
    EXPECT_NE(profiles->FileText().find("amount=\"" + std::to_string(Economy().mGems) + "\""), std::string::npos);
    ASSERT_FALSE(Hud()->mPendingWindows.empty());
    EXPECT_NE(dynamic_cast<HUDLevelResultWindow*>(Hud()->mPendingWindows.back()), nullptr);
    // The won level still draws.
    DrawFrame();
    EXPECT_TRUE(ReadFrame());
}
} // namespace
