// The level-name banner: its phases, its fades and its two lines of text.
#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDLevelName.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gametest
{
namespace
{
class LevelNameTest : public FrontEndTest
{
protected:
    LevelNameTest()
    {
        extraStrings = "level_d;Level\nepisode0;Meadow\nepisode2;Marsh\nepisodeHardcore2;Marsh Unbound\n";
    }

    // The centre of the quads drawn from one font's page.
    bool FontCentre(const std::vector<RecordedQuad>& quads, int font, float& x, float& y)
    {
        float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
        bool any = false;
        for (const RecordedQuad& q : quads)
        {
            if (q.texture != FontPage(font))
                continue;
            any = true;
            left = std::min({left, q.x[0], q.x[3]});
            right = std::max({right, q.x[1], q.x[2]});
            top = std::min({top, q.y[0], q.y[1]});
            bottom = std::max({bottom, q.y[2], q.y[3]});
        }
        x = (left + right) / 2.0f;
        y = (top + bottom) / 2.0f;
        return any;
    }
};

TEST_F(LevelNameTest, TheTitleFollowsModeAndEpisodeAndTheLevelLineCountsFromOne)
{
    struct Case
    {
        int mode, episode, level;
        std::wstring title, subtitle;
    };
    const Case cases[] = {
        {3, 2, 4, L"Marsh Unbound", L"Level 5"},
        {1, 2, 0, L"Marsh", L"Level 1"},
        {1, 0, 0, L"Meadow", L"Level 1"},
    };
    for (const Case& c : cases)
    {
        Map()->mMode = c.mode;
        Map()->mEpisode = c.episode;
        Map()->mLevel = c.level;
        HUDLevelName banner;
        EXPECT_EQ(banner.mTitle, c.title) << c.mode << " " << c.episode;
        EXPECT_EQ(banner.mSubtitle, c.subtitle);
        EXPECT_EQ(banner.mTimer, 0.5f);
        EXPECT_EQ(banner.mPhase, HUDLevelName::kFadeIn);
    }
}

TEST_F(LevelNameTest, ALongFrameStartsTheHoldWhole)
{
    HUDLevelName banner;
    banner.Update(0.7f);
    EXPECT_EQ(banner.mPhase, HUDLevelName::kHold);
    EXPECT_EQ(banner.mTimer, 2.0f);
    EXPECT_EQ(banner.mAlive, 1);
    EXPECT_EQ(banner.mTime, 0.0f) << "the base update is not called";
}

TEST_F(LevelNameTest, TheBannerClosesAfterThreeSecondsPlusAtMostAFramePerPhase)
{
    HUDLevelName banner;
    constexpr float kFrame = 0.1f;
    float elapsed = 0.0f;
    int frames = 0;
    while (banner.mAlive && frames < 100)
    {
        banner.Update(kFrame);
        elapsed += kFrame;
        ++frames;
    }
    EXPECT_EQ(banner.mAlive, 0);
    EXPECT_GT(elapsed, 3.0f);
    EXPECT_LE(elapsed, 3.0f + 3 * kFrame + 1e-4f);
}

TEST_F(LevelNameTest, AlphaFadesInHoldsAndFadesOut)
{
    struct Case
    {
        int phase;
        float timer, alpha;
    };
    const Case cases[] = {{0, 0.25f, 0.5f}, {0, 0.5f, 0.0f}, {0, 0.0f, 1.0f}, {1, 1.3f, 1.0f},
                          {2, 0.25f, 0.5f}, {2, 0.5f, 1.0f}, {2, 0.0f, 0.0f}};
    HUDLevelName banner;
    for (const Case& c : cases)
    {
        banner.mPhase = c.phase;
        banner.mTimer = c.timer;
        EXPECT_FLOAT_EQ(banner.GetAlpha(), c.alpha) << c.phase << " " << c.timer;
    }
    banner.mPhase = HUDLevelName::kFadeIn;
    banner.mTimer = 0.25f;
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { banner.Draw(g); });
    ASSERT_FALSE(quads.empty());
    for (const RecordedQuad& q : quads)
        EXPECT_NEAR(q.Alpha(), 0.5f, 0.01f);
}

TEST_F(LevelNameTest, TitleAndLevelLineAreCentredAboveAndBelowTheViewCentre)
{
    SetView(100.0f, 40.0f, 800.0f, 600.0f);
    HUDLevelName banner;
    banner.mPhase = HUDLevelName::kHold;
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { banner.Draw(g); });
    float x = 0.0f, y = 0.0f;
    ASSERT_TRUE(FontCentre(quads, GameWindow::kFontLarge, x, y));
    EXPECT_NEAR(x, 500.0f, 5.0f);
    EXPECT_NEAR(y, 340.0f - 25.0f, 8.0f);
    ASSERT_TRUE(FontCentre(quads, GameWindow::kFontNormal, x, y));
    EXPECT_NEAR(x, 500.0f, 5.0f);
    EXPECT_NEAR(y, 340.0f + 25.0f, 8.0f);

    banner.mTimer = -0.01f;
    EXPECT_TRUE(Record([&](render::Graphics* g) { banner.Draw(g); }).empty());
}
} // namespace
} // namespace gametest
