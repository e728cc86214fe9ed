// A page of the episode select dragged half out of the clip area, drawn by
// the running game on a 1366 x 768 display: nothing of it shows left of
// logical x 40.
#include "GameFixture.h"
#include "LevelFixture.h"

#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDEpisodeSelectIOS.h"
#include "Game/Hud/HUDPager.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace
{
constexpr uint32_t kPlate = 0x00FF00u;
constexpr uint32_t kMarker = 0xFF0000u;
// Two markers drawn outside the clip, at known logical places: they give the
// logical-to-pixel mapping of the row.
constexpr int kMarkerA = 100;
constexpr int kMarkerB = 900;
constexpr int kRowY = 384;
constexpr int kMarkerY = 700;

using gametest::GameAppTest;

// The first pixel of the colour along a row, or -1.
int FirstPixel(const gametest::GameRun& run, int y, uint32_t colour)
{
    for (int x = 0; x < int(run.width); ++x)
    {
        if (run.Pixel(x, y) == colour)
            return x;
    }
    return -1;
}

TEST_F(GameAppTest, AnEpisodePageIsClippedAtLogicalFortyOnAWideDisplay)
{
    gametest::GameContent content;
    content.sides = false;
    gametest::WriteGameContent(*run->data, content);
    run->data->WriteLayeredImage("nq/episode_select",
                                 {{"marker_a", kMarkerA, kMarkerY, 10, 10, 0xFF000000u | kMarker},
                                  {"marker_b", kMarkerB, kMarkerY, 10, 10, 0xFF000000u | kMarker},
                                  {"plates/chapter_01", 0, 0, 300, 300, 0xFF000000u | kPlate}});
    gametest::GameRun::SupplyMonitor(1366, 768, 768);
    run->WriteProfiles(gametest::ProfilesXml(1, 0));
    ASSERT_EQ(run->Start(), HV_OK);
    NQMap* map = run->Map();
    map->mEpisodeSetup = {{0, {3, 0, 0}}};
    // Seen, so the page carries no badge.
    map->mProgress->SetEpisodeVisited(0, 1, 3);

    auto* screen = new HUDEpisodeSelectIOS;
    ASSERT_EQ(screen->mPager->PageCount(), 1);
    // The page's centre on logical x 40: half of it lies left of the clip.
    screen->mPager->mOffset = HUDPager::kCentreX - 40.0f;
    run->Board()->SetBannerOverlay(screen);
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_TRUE(run->ReadBackBuffer());

    const int a = FirstPixel(*run, kMarkerY + 5, kMarker);
    ASSERT_GE(a, 0);
    int b = -1;
    for (int x = a + 1; x < int(run->width); ++x)
    {
        if (run->Pixel(x, kMarkerY + 5) == kMarker && run->Pixel(x - 1, kMarkerY + 5) != kMarker)
        {
            b = x;
            break;
        }
    }
    ASSERT_GT(b, a);
    const float scale = float(b - a) / float(kMarkerB - kMarkerA);
    const float clipLeft = float(a) + (40.0f - float(kMarkerA)) * scale;

    const int first = FirstPixel(*run, kRowY, kPlate);
    ASSERT_GE(first, 0) << "the visible half is drawn";
    EXPECT_NEAR(float(first), clipLeft, 1.0f);
    // Unclipped, the page would reach 0.55 x 150 units further left.
    EXPECT_GT(float(first), clipLeft - 82.5f * scale + 2.0f);
}
} // namespace
