// The intro video window: start on the first draw, playing to the end,
// failures and presses leading to the main menu, scaling on a wide screen.
#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/NQVideoIntro.h"
#include "Game/Level/NQMap.h"
#include "tools/make_video/VideoWriter.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gametest
{
namespace
{
// Tells whether the end of the video was reported from inside the window's update.
// Kept by the test: the window is deleted by the HUD.
struct IntroWatch
{
    bool inUpdate = false;
    bool finishedInsideUpdate = false;
    int finishedCalls = 0;
    bool playerGoneAtTheEnd = false;
};

class WatchedIntro : public NQVideoIntro
{
public:
    explicit WatchedIntro(IntroWatch& watch) : mWatch(watch) {}
    void Update(float dt) override
    {
        mWatch.inUpdate = true;
        NQVideoIntro::Update(dt);
        mWatch.inUpdate = false;
    }
    void OnVideoFinished(video::TheoraVideo* player) override
    {
        mWatch.finishedInsideUpdate = mWatch.inUpdate;
        ++mWatch.finishedCalls;
        NQVideoIntro::OnVideoFinished(player);
        mWatch.playerGoneAtTheEnd = mPlayer == nullptr && !mAlive;
    }

private:
    IntroWatch& mWatch;
};

class VideoIntroTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        GetGame()->mViewportX = -171.0f;
        GetGame()->mViewportY = 0.0f;
        GetGame()->mViewportWidth = 1366.0f;
        GetGame()->mViewportHeight = 768.0f;
    }

    // A test pattern of that size and length at 25 frames a second.
    void WriteIntro(uint32_t width, uint32_t height, uint32_t frames)
    {
        videowriter::Options options;
        options.width = width;
        options.height = height;
        options.frames = frames;
        videowriter::OggFile file;
        std::string error;
        ASSERT_TRUE(videowriter::WriteVideo(options, &file, &error)) << error;
        data->Write("nq/video/intro.ogv", file.bytes);
    }

    int MainMenus() const
    {
        HUD* hud = Map()->mHud;
        int count = 0;
        for (const auto* list : {&hud->mWindows, &hud->mPendingWindows})
            count += int(std::count_if(list->begin(), list->end(),
                                       [](HUDWindow* w) { return dynamic_cast<HUDMainMenu*>(w) != nullptr; }));
        return count;
    }

    void DrawOnce(HUDWindow& window)
    {
        Record([&](render::Graphics* g) { window.Draw(g); });
    }
};

TEST_F(VideoIntroTest, AMissingVideoClosesAtTheFirstDrawAndTheMainMenuFollowsOnce)
{
    HUD* hud = Map()->mHud;
    hud->ShowVideoIntro();
    EXPECT_EQ(Map()->mScreenState, screen::kIntroVideo);
    hud->Update(0.016f);
    ASSERT_EQ(hud->mWindows.size(), 1u);
    auto* intro = dynamic_cast<NQVideoIntro*>(hud->mWindows[0]);
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->mPlayer, nullptr) << "nothing opened before the first draw";
    DrawOnce(*intro);
    EXPECT_EQ(intro->mAlive, 0);
    EXPECT_EQ(intro->mPlayer, nullptr);
    EXPECT_EQ(intro->mStarted, 0);
    hud->Update(0.016f);
    EXPECT_EQ(MainMenus(), 1);
    EXPECT_EQ(Map()->mScreenState, screen::kMainMenu);
    hud->Update(0.016f);
    EXPECT_EQ(MainMenus(), 1);
}

TEST_F(VideoIntroTest, PlayedToItsEndTheVideoReportsFromInsideItsUpdateAndTheWindowGoesNext)
{
    WriteIntro(64, 48, 10);
    HUD* hud = Map()->mHud;
    IntroWatch watch;
    auto* intro = new WatchedIntro(watch);
    hud->PushWindow(intro);
    hud->Update(0.0f);
    const size_t texturesBefore = GetGame()->mRender->GetTextures().size();
    DrawOnce(*intro);
    ASSERT_EQ(intro->mStarted, 1);
    ASSERT_NE(intro->mPlayer, nullptr);
    ASSERT_NE(intro->mFrame, nullptr);
    EXPECT_EQ(intro->mFrame->GetWidth(), 64);
    EXPECT_EQ(GetGame()->mRender->GetTextures().size(), texturesBefore + 1);

    auto onStack = [&] { return std::find(hud->mWindows.begin(), hud->mWindows.end(), intro) != hud->mWindows.end(); };
    float elapsed = 0.0f;
    while (onStack() && elapsed < 2.0f)
    {
        hud->Update(0.04f);
        elapsed += 0.04f;
        if (onStack())
            DrawOnce(*intro);
    }
    EXPECT_EQ(watch.finishedCalls, 1);
    EXPECT_TRUE(watch.finishedInsideUpdate);
    EXPECT_TRUE(watch.playerGoneAtTheEnd);
    EXPECT_LE(elapsed, 0.4f + 0.1f);
    // Closed at the end of the update in which it finished: the main menu follows.
    EXPECT_FALSE(onStack());
    EXPECT_EQ(MainMenus(), 1);
    EXPECT_EQ(Map()->mScreenState, screen::kMainMenu);
    EXPECT_EQ(GetGame()->mRender->GetTextures().size(), texturesBefore) << "the frame texture goes with the window";
}

TEST_F(VideoIntroTest, APressSkipsTheVideoIntoOneMainMenuWithoutOnClose)
{
    WriteIntro(64, 48, 10);
    HUD* hud = Map()->mHud;
    hud->ShowVideoIntro();
    hud->Update(0.0f);
    auto* intro = dynamic_cast<NQVideoIntro*>(hud->GetTopWindow());
    ASSERT_NE(intro, nullptr);
    DrawOnce(*intro);
    ASSERT_EQ(intro->mStarted, 1);
    EXPECT_EQ(intro->Click(5, 5), L"done");
    Map()->OnMouseDown(300, 300);
    EXPECT_EQ(Map()->mScreenState, screen::kMainMenu);
    EXPECT_EQ(MainMenus(), 1);
    hud->Update(0.016f);
    hud->Update(0.016f);
    EXPECT_EQ(MainMenus(), 1);
    EXPECT_EQ(hud->mWindows.size(), 1u);
}

struct ScaleCase
{
    const char* name;
    uint32_t width, height;
    float quadWidth, quadLeft;
};

class VideoScaleTest : public VideoIntroTest, public testing::WithParamInterface<ScaleCase>
{
};

TEST_P(VideoScaleTest, TheFrameFillsTheHeightCentredOnTheLogicalScreen)
{
    const ScaleCase& c = GetParam();
    WriteIntro(c.width, c.height, 2);
    NQVideoIntro intro;
    DrawOnce(intro);
    ASSERT_EQ(intro.mStarted, 1);
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { intro.Draw(g); });
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0].Width(), c.quadWidth, 0.01f);
    EXPECT_NEAR(quads[0].Height(), 768.0f, 0.01f);
    EXPECT_NEAR(quads[0].CentreX(), 512.0f, 0.01f);
    EXPECT_NEAR(quads[0].CentreY(), 384.0f, 0.01f);
    EXPECT_NEAR(std::min({quads[0].x[0], quads[0].x[3]}), c.quadLeft, 0.01f);
}

INSTANTIATE_TEST_SUITE_P(Videos, VideoScaleTest,
                         testing::Values(ScaleCase{"Lines768AtScaleOne", 1280, 768, 1280.0f, -128.0f},
                                         ScaleCase{"FourByThreeFullHeight", 640, 480, 1024.0f, 0.0f}),
                         [](const testing::TestParamInfo<ScaleCase>& info) { return std::string(info.param.name); });
} // namespace
} // namespace gametest
