// The level drawing over the quad recorder: the world order, the road glow,
// the queues, the ring's end, the beams and the interface pictures.
#include "Game/Input/InputFixture.h"


#include "Game/NQEnemy.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using gametest::InputTest;
using gametest::RecordedQuad;

class LevelDrawTest : public InputTest
{
protected:
    void TearDown() override
    {
        if (map && map->mDecorationSet && swapped)
            map->mDecorationSet->mFrames.swap(savedDecorations);
        decorations.clear();
        if (map)
            map->mArmedSpell = nullptr;
        InputTest::TearDown();
    }

    std::vector<RecordedQuad> DrawLevel()
    {
        return Recorder()->Record([&](render::Graphics* g) { map->Draw(g); });
    }

    // The decorations in place of the level's, one 20 x 20 picture each at
    // x = 10 + 20 × i, y = 700.
    void UseDecorations(const std::vector<std::wstring>& names)
    {
        for (size_t i = 0; i < names.size(); ++i)
        {
            auto frame = std::make_unique<NQFrameEntry>();
            frame->mName = names[i];
            frame->mPicture = Picture();
            frame->mRect[0] = 20.0f * float(i);
            frame->mRect[1] = 690.0f;
            frame->mRect[2] = 20.0f;
            frame->mRect[3] = 20.0f;
            decorations.push_back(std::move(frame));
        }
        std::vector<NQFrameEntry*> mine;
        for (auto& frame : decorations)
            mine.push_back(frame.get());
        savedDecorations.swap(mine);
        map->mDecorationSet->mFrames.swap(savedDecorations);
        // savedDecorations now holds the level's own list.
        swapped = true;
    }

    // The map-space point as drawn on the screen.
    float ScreenX(float x) const { return x * map->mZoom + map->mViewOffsetX; }
    float ScreenY(float y) const { return y * map->mZoom + map->mViewOffsetY; }

    std::vector<std::unique_ptr<NQFrameEntry>> decorations;
    std::vector<NQFrameEntry*> savedDecorations;
    bool swapped = false;
};

TEST_F(LevelDrawTest, InterfacePictureMaps)
{
    EXPECT_EQ(map->mTowerIcons.size(), 20u);
    EXPECT_EQ(map->mAbilityIcons.size(), 12u);
    for (int line : {10000, 20000, 30000, 40000})
        EXPECT_EQ(map->mTowerIcons.at(line), map->mTowerIcons.at(line + 2));
    EXPECT_NE(map->mWaveHints, nullptr);
    EXPECT_NE(map->mFloatingIcons, nullptr);
}

TEST_F(LevelDrawTest, SectorTable)
{
    struct Case
    {
        float angle;
        int sector;
    };
    for (const Case& c : {Case{0.0f, 31}, Case{11.25f, 30}, Case{11.24f, 31}, Case{359.9f, 0}, Case{360.0f, 31}})
        EXPECT_EQ(NQTower::GetSector(c.angle), c.sector) << c.angle;
}

TEST_F(LevelDrawTest, DecorationsAroundTheWorldAndTheQueuesEmptied)
{
    UseDecorations({L"##", L"^a", L"$b", L"#3", L"##x", L"a"});
    const std::vector<RecordedQuad> quads = DrawLevel();
    std::vector<int> order;
    for (const RecordedQuad& quad : quads)
    {
        if (std::fabs(quad.CentreY() - ScreenY(700.0f)) > 0.5f)
            continue;
        for (int i = 0; i < 6; ++i)
            if (std::fabs(quad.CentreX() - ScreenX(10.0f + 20.0f * float(i))) < 0.5f)
                order.push_back(i);
    }
    // Below the units in reverse order, then "##", "^a" and "$b" above them.
    EXPECT_EQ(order, (std::vector<int>{5, 4, 3, 0, 1, 2}));
    for (const auto& queue : map->mDrawQueues)
        EXPECT_TRUE(queue.empty());
    // The copies borrowed the pictures: drawn again, the decorations are intact.
    const size_t count = DrawLevel().size();
    EXPECT_EQ(DrawLevel().size(), count);
    for (const auto& frame : decorations)
        EXPECT_NE(frame->mPicture, nullptr);
}

TEST_F(LevelDrawTest, RoadGlowOnlyWhileASpellIsArmed)
{
    ASSERT_NE(map->mRoadMask, nullptr);
    const render::Texture* mask = map->mRoadMask->GetTexture();
    auto glow = [&]() -> const RecordedQuad* {
        static std::vector<RecordedQuad> quads;
        quads = DrawLevel();
        for (const RecordedQuad& quad : quads)
            if (quad.texture == mask)
                return &quad;
        return nullptr;
    };
    EXPECT_EQ(glow(), nullptr);
    map->mArmedSpell = reinterpret_cast<HUDSpellButton*>(map);
    for (float time : {0.0f, 0.3f, 1.0f})
    {
        map->mGameTime = time;
        const RecordedQuad* quad = glow();
        ASSERT_NE(quad, nullptr) << time;
        const float alpha = (std::sin(time * 5.0f) + 1.0f) * 0.5f * 0.2f + 0.2f;
        EXPECT_NEAR(quad->Alpha(), alpha, 1.0f / 255.0f) << time;
        EXPECT_EQ(quad->blend, 2);
    }
    map->mArmedSpell = nullptr;
}

TEST_F(LevelDrawTest, HealthBar)
{
    map->mBarPicture = Picture();
    NQEnemy* enemy = SpawnNow(gametest::units::kTank);
    ASSERT_NE(enemy, nullptr);
    const float max = enemy->GetMaxHealth();
    struct Case
    {
        float health;
        float timer;
        int state;
        size_t quads;
        float alpha;
    };
    const Case cases[] = {
        {max, 2.0f, NQEnemy::kWalking, 0, 0.0f},        {0.0f, 2.0f, NQEnemy::kWalking, 0, 0.0f},
        {max / 2, 2.0f, NQEnemy::kDying, 0, 0.0f},      {max / 2, 0.0f, NQEnemy::kWalking, 0, 0.0f},
        {max / 2, 2.0f, NQEnemy::kWalking, 2, 1.0f},    {max / 4, 0.25f, NQEnemy::kWalking, 2, 0.5f},
        {-5.0f, 1.0f, NQEnemy::kWalking, 2, 1.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.health << " " << c.timer << " " << c.state);
        enemy->mHealth = c.health;
        enemy->mHealthBarTimer = c.timer;
        enemy->mState = c.state;
        const std::vector<RecordedQuad> quads =
            Recorder()->Record([&](render::Graphics* g) { enemy->DrawOverlay(g); });
        ASSERT_EQ(quads.size(), c.quads);
        if (c.quads == 0)
            continue;
        EXPECT_NEAR(quads[0].Alpha(), c.alpha, 1.0f / 255.0f);
        EXPECT_EQ(quads[0].argb & 0x00FFFFFFu, 0x00FF0000u);
        EXPECT_EQ(quads[1].argb & 0x00FFFFFFu, 0x0000FF00u);
        EXPECT_NEAR(quads[1].Width(), quads[0].Width() * std::max(c.health, 0.0f) / max, 0.01f);
    }
    // Drawing leaves the enemy's health as it was.
    EXPECT_EQ(enemy->mHealth, -5.0f);
    enemy->mState = NQEnemy::kWalking;
}

TEST_F(LevelDrawTest, AFinishedRingGoesInTheSameFrame)
{
    map->mContextMenu = new NQContextMenu;
    map->mContextMenu->mActive = 0;
    DrawLevel();
    EXPECT_EQ(map->mContextMenu, nullptr);
}

} // namespace
