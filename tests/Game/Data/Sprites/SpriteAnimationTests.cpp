// Animations played from sprite sets, animated sprites and sprite lists.
#include "GameTestFixture.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Units/NQAnimatedSprite.h"
#include "Game/Units/SpriteList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using gametest::FixtureLayer;
using gametest::RecordedQuad;

constexpr float kTolerance = 1e-3f;
constexpr int kRootFrames = 10;

// Ten root frames "r0" .. "r9", 10 x 20 each at (i, 2 i), in colours of their own.
std::vector<FixtureLayer> TenFrames(bool withAnchor)
{
    std::vector<FixtureLayer> layers;
    for (int i = 0; i < kRootFrames; ++i)
        layers.push_back({"r" + std::to_string(i), i, 2 * i, 10, 20, 0xFF000000u | uint32_t(i * 20)});
    if (withAnchor)
        layers.push_back({"s_point/a", 4, 6, 1, 1});
    layers.push_back({"walk/w0", 0, 0, 8, 8});
    return layers;
}

class AnimationTest : public gametest::GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        StartApplication();
        data->WriteLayeredImage("nq/fx/ten", TenFrames(true));
        data->WriteLayeredImage("nq/fx/plain", TenFrames(false));
        data->WriteLayeredImage("nq/units/archer", gametest::SpriteSetLayers());
    }

    // The root frame index a quad shows, by its texture; -1 when none.
    int FrameOf(const RecordedQuad& quad, const std::wstring& set)
    {
        const NQSpriteSet::FrameList& frames = NQResources::Instance()->GetSpriteSet(set)->GetFrames("");
        for (size_t i = 0; i < frames.size(); ++i)
            if (gametest::TextureOf(frames[i]->mPicture) == quad.texture)
                return int(i);
        return -1;
    }
};

TEST_F(AnimationTest, AnAnimationWrapsOnceItsGroupHasPlayed)
{
    NQSpriteAnimation animation(L"nq/fx/ten", L"");
    EXPECT_EQ(animation.mRate, 30.0f);
    EXPECT_EQ(animation.GetFrameCount(), kRootFrames);
    animation.Advance(0.1f);
    NQFrameEntry* frame = animation.GetCurrentFrame(0, 0, 0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->mName, L"r3");
    animation.Advance(0.2f);
    EXPECT_NEAR(animation.mTime, 0.3f, kTolerance);
    EXPECT_EQ(animation.GetCurrentFrame(0, 0, 0)->mName, L"r9");
    animation.Advance(0.04f); // 1/3 s reached
    EXPECT_EQ(animation.mTime, 0.0f);
    EXPECT_EQ(animation.GetCurrentFrame(0, 0, 0)->mName, L"r0");
}

TEST_F(AnimationTest, ANamedGroupPlaysItsOwnFramesButCountsTheRootGroup)
{
    NQSpriteAnimation idle(L"nq/units/archer", L"idle");
    EXPECT_EQ(idle.GetFrameCount(), 2);
    EXPECT_EQ(idle.GetGroupFrameCount(), 3);
    idle.Advance(0.07f); // 2.1 frames
    EXPECT_EQ(idle.GetCurrentFrame(0, 0, 0)->mName, L"idle/i2");
    idle.Advance(0.03f); // 3 frames: wraps
    EXPECT_EQ(idle.mTime, 0.0f);

    // An empty group draws nothing, though the root group has frames.
    NQSpriteAnimation walk(L"nq/fx/ten", L"walk_none");
    NQSpriteAnimation empty(L"nq/units/archer", L"walk");
    EXPECT_EQ(walk.GetCurrentFrame(0, 0, 0), nullptr);
    EXPECT_EQ(empty.GetCurrentFrame(0, 0, 0), nullptr);
    const auto quads = Recorder()->Record([&](render::Graphics* g) {
        walk.Draw(g, 100, 100, 0);
        empty.Draw(g, 100, 100, 0);
    });
    EXPECT_TRUE(quads.empty());
}

TEST_F(AnimationTest, TheAnchorComesFromTheFirstMarkerElseItsDefault)
{
    NQSpriteAnimation marked(L"nq/fx/ten", L"");
    EXPECT_EQ(marked.mAnchorX, 4.0f);
    EXPECT_EQ(marked.mAnchorY, 6.0f);
    NQSpriteAnimation plain(L"nq/fx/plain", L"");
    EXPECT_EQ(plain.mAnchorX, 50.0f);
    EXPECT_EQ(plain.mAnchorY, 30.0f);
}

TEST_F(AnimationTest, TheAnchorLandsOnThePositionAndFramesTurnAboutTheirCentre)
{
    // "idle/i0" is (10, 10, 20, 30); the marker is at (40, 20).
    NQSpriteAnimation idle(L"nq/units/archer", L"idle");
    const auto quads = Recorder()->Record([&](render::Graphics* g) {
        idle.Draw(g, 100, 200, 0);
        idle.Draw(g, 100, 200, 90);
    });
    ASSERT_EQ(quads.size(), 2u);
    // The marker point (40, 20) of the image lands on (100, 200).
    const float centreX = 100 - 40 + 10 + 10;
    const float centreY = 200 - 20 + 10 + 15;
    const RecordedQuad& straight = quads[0];
    EXPECT_NEAR(straight.x[0], centreX - 10, kTolerance);
    EXPECT_NEAR(straight.y[0], centreY - 15, kTolerance);
    EXPECT_NEAR(straight.x[2], centreX + 10, kTolerance);
    EXPECT_NEAR(straight.y[2], centreY + 15, kTolerance);
    EXPECT_FLOAT_EQ(straight.Alpha(), 1.0f);

    const RecordedQuad& turned = quads[1];
    EXPECT_NEAR(turned.CentreX(), centreX, kTolerance);
    EXPECT_NEAR(turned.CentreY(), centreY, kTolerance);
    EXPECT_NEAR(turned.Width(), 20, kTolerance);
    EXPECT_NEAR(turned.Height(), 30, kTolerance);
    const auto [minX, maxX] = std::minmax({turned.x[0], turned.x[1], turned.x[2], turned.x[3]});
    const auto [minY, maxY] = std::minmax({turned.y[0], turned.y[1], turned.y[2], turned.y[3]});
    EXPECT_NEAR(maxX - minX, 30, kTolerance);
    EXPECT_NEAR(maxY - minY, 20, kTolerance);
}

TEST_F(AnimationTest, BadRatesShowTheFirstFrameAndNeverWrap)
{
    for (float rate : {0.0f, -5.0f, NAN, INFINITY})
    {
        NQSpriteAnimation animation(L"nq/fx/ten", L"");
        animation.mRate = rate;
        animation.Advance(5.0f);
        EXPECT_EQ(animation.mTime, 5.0f) << rate;
        ASSERT_NE(animation.GetCurrentFrame(0, 0, 0), nullptr) << rate;
        EXPECT_EQ(animation.GetCurrentFrame(0, 0, 0)->mName, L"r0") << rate;

        NQAnimatedSprite sprite(L"nq/fx/ten");
        sprite.mAnimation->mRate = rate;
        sprite.Update(0.01f);
        EXPECT_FALSE(sprite.IsVisible()) << rate;
    }
}

TEST_F(AnimationTest, AnAnimatedSpriteEndsAfterItsLastFrame)
{
    NQAnimatedSprite early(L"nq/fx/ten");
    EXPECT_EQ(early.mAnimation->mRate, 20.0f);
    EXPECT_FLOAT_EQ(early.GetDuration(), 0.5f);
    early.Update(0.44f);
    EXPECT_TRUE(early.IsVisible());
    NQAnimatedSprite late(L"nq/fx/ten");
    late.Update(0.46f);
    EXPECT_FALSE(late.IsVisible());

    // Looping: the time goes back by the duration and it plays on.
    NQAnimatedSprite looping(L"nq/fx/ten");
    looping.mLoop = 1;
    looping.Update(0.46f);
    EXPECT_TRUE(looping.IsVisible());
    EXPECT_NEAR(looping.mTime, -0.04f, kTolerance);
    for (int i = 0; i < 30; ++i)
        looping.Update(0.05f);
    EXPECT_TRUE(looping.IsVisible());
}

TEST_F(AnimationTest, AnAnimatedSpriteFadesOverItsLastFifthOfASecond)
{
    struct Case
    {
        float time;
        float alpha;
    };
    const Case cases[] = {{0.1f, 1.0f}, {0.25f, 1.0f}, {0.35f, 0.75f}, {0.4f, 0.5f}};
    for (const Case& c : cases)
    {
        NQAnimatedSprite sprite(L"nq/fx/ten");
        sprite.mX = 300;
        sprite.mY = 300;
        sprite.Update(c.time);
        ASSERT_TRUE(sprite.IsVisible());
        const auto quads = Recorder()->Record([&](render::Graphics* g) {
            sprite.Draw(g);
            EXPECT_FLOAT_EQ(g->mColor[3], 1.0f);
        });
        ASSERT_EQ(quads.size(), 1u) << c.time;
        EXPECT_NEAR(quads[0].Alpha(), c.alpha, 1.0f / 255) << c.time;
    }
}

TEST_F(AnimationTest, ADelayedSpriteIsDrawnThroughItsWholeAnimation)
{
    NQSpriteList list;
    auto* sprite = new NQAnimatedSprite(L"nq/fx/ten");
    sprite->mStartDelay = 0.5f;
    AddSprite(list, sprite);
    AddSprite(list, nullptr);
    ASSERT_EQ(list.size(), 1u);
    std::vector<int> shown;
    float lastAlpha = 1.0f;
    for (int step = 0; step < 40 && !list.empty(); ++step)
    {
        UpdateSprites(list, 0.025f);
        const auto quads = Recorder()->Record([&](render::Graphics* g) { DrawSprites(list, g); });
        for (const RecordedQuad& q : quads)
        {
            shown.push_back(FrameOf(q, L"nq/fx/ten"));
            lastAlpha = q.Alpha();
        }
    }
    EXPECT_TRUE(list.empty());
    // Every frame shown, in order, and the fade reached before the end.
    std::vector<int> distinct;
    for (int frame : shown)
        if (distinct.empty() || distinct.back() != frame)
            distinct.push_back(frame);
    // Frame 9 shows only at the very moment the last frame is reached.
    ASSERT_GE(distinct.size(), 9u);
    for (size_t i = 0; i < distinct.size(); ++i)
        EXPECT_EQ(distinct[i], int(i));
    EXPECT_LT(lastAlpha, 0.5f);
}

TEST_F(AnimationTest, QueueDrawHandsTheLevelACopyOfTheFrame)
{
    NQAnimatedSprite a(L"nq/units/archer");
    NQAnimatedSprite b(L"nq/units/archer");
    a.mX = 10;
    b.mX = 500;
    a.QueueDraw();
    b.QueueDraw();
    ASSERT_EQ(services->queued.size(), 2u);
    NQFrameEntry* frameA = services->queued[0].get();
    NQFrameEntry* frameB = services->queued[1].get();
    const NQSpriteSet* set = NQResources::Instance()->GetSpriteSet(L"nq/units/archer");
    const NQFrameEntry* own = set->GetFrames("")[0];
    EXPECT_NE(frameA, own);
    EXPECT_NE(frameB, own);
    EXPECT_EQ(frameA->mPicture, own->mPicture);
    EXPECT_EQ(frameA->mOwnsPicture, 0);
    // Each copy keeps the transform of its own sprite.
    EXPECT_NEAR(frameB->mTransform.GetMatrix()[2] - frameA->mTransform.GetMatrix()[2], 490.0f, kTolerance);

    // The level deletes its copies; the set's frame and picture live on.
    services->queued.clear();
    ASSERT_NE(own->mPicture, nullptr);
    EXPECT_EQ(own->mPicture->GetWidth(), 16);
    const auto quads = Recorder()->Record([&](render::Graphics* g) {
        a.Update(0.01f);
        a.Draw(g);
    });
    EXPECT_EQ(quads.size(), 1u);
}

TEST_F(AnimationTest, ASpriteFollowsItsEnemyAndStaysWhereItWasLastDrawn)
{
    int enemyStandIn = 0;
    auto* enemy = reinterpret_cast<NQEnemy*>(&enemyStandIn);
    services->enemyPositions[enemy] = {300, 400};
    NQSpriteList list;
    auto* sprite = new NQAnimatedSprite(L"nq/fx/plain");
    sprite->mLoop = 1;
    sprite->SetAnchor(enemy);
    sprite->SetAnchor(nullptr);
    EXPECT_EQ(sprite->mAnchor, enemy);
    AddSprite(list, sprite);
    auto* other = new NQAnimatedSprite(L"nq/fx/plain");
    other->mLoop = 1;
    AddSprite(list, other);
    UpdateSprites(list, 0.01f);

    // Anchor (50, 30) on the enemy; "r0" is (0, 0, 10, 20).
    auto drawn = [&]() {
        return Recorder()->Record([&](render::Graphics* g) { DrawSprites(list, g); });
    };
    auto quads = drawn();
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_NEAR(quads[0].CentreX(), 300 - 50 + 5, kTolerance);
    EXPECT_NEAR(quads[0].CentreY(), 400 - 30 + 10, kTolerance);

    ForgetSpriteAnchor(list, enemy);
    services->enemyPositions.clear();
    EXPECT_EQ(sprite->mAnchor, nullptr);
    EXPECT_EQ(sprite->mX, 300.0f);
    EXPECT_EQ(sprite->mY, 400.0f);
    quads = drawn();
    ASSERT_EQ(quads.size(), 2u);
    EXPECT_NEAR(quads[0].CentreX(), 300 - 50 + 5, kTolerance);
    EXPECT_NEAR(quads[1].CentreX(), 0 - 50 + 5, kTolerance);

    RemoveSprite(list, sprite);
    RemoveSprite(list, sprite);
    EXPECT_EQ(list, NQSpriteList{other});
    base::DeleteAll(list);
}

TEST_F(AnimationTest, UpdatingAListDeletesTheEndedSpritesAndKeepsTheOrder)
{
    NQSpriteList list;
    std::vector<NQSprite*> kept;
    for (int i = 0; i < 5; ++i)
    {
        auto* sprite = new NQAnimatedSprite(L"nq/fx/ten");
        sprite->mLoop = i % 2;
        sprite->mX = float(i);
        AddSprite(list, sprite);
        if (i % 2)
            kept.push_back(sprite);
    }
    UpdateSprites(list, 0.6f);
    EXPECT_EQ(list, kept);
    base::DeleteAll(list);
}
} // namespace
