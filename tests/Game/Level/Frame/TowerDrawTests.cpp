// A tower's drawn picture over the quad recorder: its base point lands on
// the tower's anchor, whichever frame is shown.
#include "Game/Units/Battle/TowerFixture.h"

#include "Core/Math/Transform2D.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSprite.h"
#include "Game/Units/NQTower.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace
{
using gametest::RecordedQuad;
using gametest::TowerTest;
namespace towers = gametest::towers;

// Where the fixture's tower sets put "base_point": the same container point
// in the non-rotating (cannon) and the rotating (arrow) set.
constexpr float kCannonBaseX = 30.0f;
constexpr float kCannonBaseY = 70.0f;
constexpr float kArrowBaseX = 32.0f;
constexpr float kArrowBaseY = 56.0f;

class TowerDrawTest : public TowerTest
{
};

TEST_F(TowerDrawTest, TheBasePointLandsOnTheAnchor)
{
    struct Case
    {
        int spot;
        int proto;
        float baseX;
        float baseY;
    };
    const Case cases[] = {{0, towers::kCannon, kCannonBaseX, kCannonBaseY},
                          {1, towers::kArrow, kArrowBaseX, kArrowBaseY}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.proto);
        NQTower* tower = BuildOn(c.spot, c.proto);
        ASSERT_NE(tower, nullptr);
        for (int frames : {0, 7, 40})
        {
            SCOPED_TRACE(frames);
            StepFrames(frames);
            math::Transform2D unused;
            const NQFrameEntry* frame = tower->PlaceCurrentFrame(unused);
            ASSERT_NE(frame, nullptr);
            const std::vector<RecordedQuad> quads =
                Recorder()->Record([&](render::Graphics* g) { tower->Draw(g); });
            ASSERT_EQ(quads.size(), 1u);
            const RecordedQuad& quad = quads[0];
            EXPECT_NEAR(quad.Width(), frame->mRect[2], 0.01f);
            EXPECT_NEAR(quad.Height(), frame->mRect[3], 0.01f);
            // The base point's place inside the shown picture.
            EXPECT_NEAR(quad.x[0] + c.baseX - frame->mRect[0], tower->mAnchorX, 0.01f);
            EXPECT_NEAR(quad.y[0] + c.baseY - frame->mRect[1], tower->mAnchorY, 0.01f);
        }
    }
}
// An enemy that a beam aims at and that carries a heal mark is killed and
// removed; the frames after it update and draw the beam and the mark.
TEST_F(TowerDrawTest, AnEnemyGoesWhileABeamAimsAtItAndAHealMarkHoldsIt)
{
    NQTower* magic = BuildOn(0, towers::kMagic);
    ASSERT_NE(magic, nullptr);
    NQEnemy* victim = EnemyAt(gametest::units::kNoDeath, 400, 400);
    NQEnemy* healer = EnemyAt(gametest::units::kHealer, 410, 400);
    victim->mHealth = victim->GetMaxHealth() * 0.5f;
    bool ready = false;
    for (int i = 0; i < 600 && !ready; ++i)
    {
        // Both stay in the tower's range and near each other.
        Place(victim, 400, 400);
        Place(healer, 410, 400);
        StepFrames(1);
        ASSERT_EQ(FindEnemy(gametest::units::kNoDeath), victim);
        ready = !map->mHints->empty() && magic->mBeam && magic->mBeam->mTarget == victim;
        if (!ready && victim->mHealth < victim->GetMaxHealth() * 0.25f)
            victim->mHealth = victim->GetMaxHealth() * 0.5f; // kept alive until both hold it
    }
    ASSERT_TRUE(ready);
    NQBeamParticle* beam = magic->mBeam;
    victim->ApplyDamage(victim->GetMaxHealth() * 10.0f);
    for (int i = 0; i < 120 && FindEnemy(gametest::units::kNoDeath); ++i)
        StepFrames(1);
    ASSERT_EQ(FindEnemy(gametest::units::kNoDeath), nullptr);
    // A beam still playing out no longer points at the enemy.
    if (std::find(map->mParticles.begin(), map->mParticles.end(), beam) != map->mParticles.end())
    {
        EXPECT_EQ(beam->mTarget, nullptr);
    }
    StepSeconds(3.0f);
}

// A flyer's shadow sits 15 below it, a walker's 5; both 5 to the right.
TEST_F(TowerDrawTest, ShadowOffsets)
{
    struct Case
    {
        int unit;
        float below;
    };
    const Case cases[] = {{gametest::units::kWyvern, 15.0f}, {gametest::units::kGrunt, 5.0f}};
    std::vector<NQEnemy*> enemies;
    for (size_t i = 0; i < 2; ++i)
    {
        enemies.push_back(EnemyAt(cases[i].unit, 300.0f + 200.0f * float(i), 400.0f));
        ASSERT_NE(enemies.back(), nullptr);
        ASSERT_NE(enemies.back()->mShadow, nullptr);
    }
    const std::vector<RecordedQuad> quads = Recorder()->Record([&](render::Graphics* g) { map->Draw(g); });
    for (size_t i = 0; i < 2; ++i)
    {
        SCOPED_TRACE(cases[i].unit);
        const NQEnemy* enemy = enemies[i];
        const float x = (enemy->mDrawX + 5.0f) * map->mZoom + map->mViewOffsetX;
        const float y = (enemy->mDrawY + cases[i].below) * map->mZoom + map->mViewOffsetY;
        int found = 0;
        for (const RecordedQuad& quad : quads)
            found += quad.texture == gametest::TextureOf(enemy->mShadow) && std::fabs(quad.CentreX() - x) < 0.5f &&
                     std::fabs(quad.CentreY() - y) < 0.5f;
        EXPECT_EQ(found, 1);
    }
}

// The world list: ground shadows in queue order, then the ground bodies
// (towers and walkers) by depth, then the flyers' shadows and bodies.
TEST_F(TowerDrawTest, WorldOrderOfShadowsBodiesAndFlyers)
{
    NQTower* tower = BuildOn(0, towers::kCannon);
    ASSERT_NE(tower, nullptr);
    // Walkers below and above the tower's anchor, spawned lower one first; a flyer highest.
    NQEnemy* low = EnemyAt(gametest::units::kGrunt, 150.0f, tower->mAnchorY + 60.0f);
    NQEnemy* high = EnemyAt(gametest::units::kGrunt, 650.0f, tower->mAnchorY - 60.0f);
    NQEnemy* flyer = EnemyAt(gametest::units::kWyvern, 850.0f, tower->mAnchorY - 200.0f);
    ASSERT_TRUE(low && high && flyer);
    math::Transform2D unused;
    const render::Texture* towerTexture = gametest::TextureOf(tower->PlaceCurrentFrame(unused)->mPicture);
    const auto screenX = [&](float x) { return x * map->mZoom + map->mViewOffsetX; };
    std::vector<std::string> order;
    for (const RecordedQuad& quad : Recorder()->Record([&](render::Graphics* g) { map->Draw(g); }))
    {
        if (quad.texture == towerTexture)
        {
            order.push_back("tower");
            continue;
        }
        for (const auto& [name, enemy] : {std::pair<const char*, NQEnemy*>{"low", low}, {"high", high}, {"flyer", flyer}})
        {
            if (std::fabs(quad.CentreX() - screenX(enemy->mDrawX)) > 40.0f)
                continue;
            const bool shadow = quad.texture == gametest::TextureOf(enemy->mShadow);
            order.push_back(std::string(name) + (shadow ? " shadow" : ""));
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"low shadow", "high shadow", "high", "tower", "low", "flyer shadow",
                                               "flyer"}));
    for (const auto& queue : map->mDrawQueues)
        EXPECT_TRUE(queue.empty());
}

// A booster's bonus shows as the boost mark in the very frame that gives it.
TEST_F(TowerDrawTest, TheBoostMarkShowsInTheFrameOfTheBoost)
{
    data->Write("ui/boost.png", gametest::SolidPng(8, 8, 0xFFFFFF00u));
    render::Image* mark = application->LoadImage(L"ui/boost.png", nullptr);
    ASSERT_NE(mark, nullptr);
    map->mPowerBuffPicture = mark;
    NQTower* booster = map->BuildTower(Proto(towers::kMagic + 1), SpotFrame(0));
    NQTower* boosted = map->BuildTower(Proto(towers::kCannon), SpotFrame(1));
    ASSERT_TRUE(booster && boosted);
    const auto marks = [&](const std::vector<RecordedQuad>& quads) {
        std::vector<float> xs;
        for (const RecordedQuad& quad : quads)
            if (quad.texture == gametest::TextureOf(map->mPowerBuffPicture))
                xs.push_back(quad.CentreX());
        return xs;
    };
    map->Update(kFrameTime);
    const std::vector<float> xs = marks(Recorder()->Record([&](render::Graphics* g) { map->Draw(g); }));
    ASSERT_TRUE(boosted->mBoosted);
    ASSERT_EQ(xs.size(), 1u);
    EXPECT_NEAR(xs[0], boosted->mX * map->mZoom + map->mViewOffsetX, 0.5f);
    map->mPowerBuffPicture = nullptr;
    mark->Release();
    delete mark;
}

} // namespace
