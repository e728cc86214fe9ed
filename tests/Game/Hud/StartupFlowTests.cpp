// The start of the game as a player sees it: the root board's load opens the
// logos, then the intro video, then the main menu, frame by frame through the
// game's own update, with and without presses.
#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/NQSplashScreens.h"
#include "Game/Hud/NQVideoIntro.h"
#include "Game/Level/NQMap.h"
#include "tools/make_video/VideoWriter.h"

#include <gtest/gtest.h>

#include <set>

namespace gametest
{
namespace
{
constexpr float kFrame = 0.04f;
constexpr int kMaxFrames = 500;

class StartupFlowTest : public FrontEndTest
{
protected:
    StartupFlowTest()
    {
        keepStartWindows = true;
        beforeLoad = [this] {
            data->Write("logo/logo.ini", "1;studio,engine\n");
            data->Write("logo/studio.png", SolidPng(100, 50, 0xFFFF0000u));
            data->Write("logo/engine.png", SolidPng(60, 40, 0xFF00FF00u));
            videowriter::Options options;
            options.width = 64;
            options.height = 48;
            options.frames = 10;
            videowriter::OggFile file;
            std::string error;
            ASSERT_TRUE(videowriter::WriteVideo(options, &file, &error)) << error;
            data->Write("nq/video/intro.ogv", file.bytes);
        };
    }

    // One frame: the game's update, then the level's drawing.
    void Frame()
    {
        Board()->Update(kFrame);
        Record([&](render::Graphics* g) { Map()->Draw(g); });
        for (HUDWindow* window : Map()->mHud->mWindows)
        {
            if (dynamic_cast<NQSplashScreens*>(window))
                splashes.insert(window);
            else if (dynamic_cast<NQVideoIntro*>(window))
                videos.insert(window);
            else if (dynamic_cast<HUDMainMenu*>(window))
                menus.insert(window);
        }
        if (states.empty() || states.back() != Map()->mScreenState)
            states.push_back(Map()->mScreenState);
    }

    // Frames until the main menu shows; the number of frames it took.
    int RunToMainMenu(const std::function<void(int)>& perFrame = nullptr)
    {
        int frames = 0;
        while (Map()->mScreenState != screen::kMainMenu && frames < kMaxFrames)
        {
            if (perFrame)
                perFrame(frames);
            Frame();
            ++frames;
        }
        // One more: the menu joins the stack.
        Frame();
        return frames;
    }

    std::set<HUDWindow*> splashes;
    std::set<HUDWindow*> videos;
    std::set<HUDWindow*> menus;
    std::vector<NQScreenState> states;
};

TEST_F(StartupFlowTest, LogosThenTheVideoThenTheMainMenu)
{
    EXPECT_EQ(Map()->mScreenState, screen::kSplashScreens);
    const int frames = RunToMainMenu();
    EXPECT_EQ(states, (std::vector<NQScreenState>{screen::kSplashScreens, screen::kIntroVideo, screen::kMainMenu}));
    EXPECT_EQ(splashes.size(), 1u);
    EXPECT_EQ(videos.size(), 1u);
    EXPECT_EQ(menus.size(), 1u);
    ASSERT_EQ(Map()->mHud->mWindows.size(), 1u);
    EXPECT_NE(dynamic_cast<HUDMainMenu*>(Map()->mHud->mWindows[0]), nullptr);
    // Two logos of 2.5 s and a 0.4 s video, a frame or so per phase more.
    EXPECT_GT(frames * kFrame, 5.0f);
    EXPECT_LT(frames * kFrame, 5.0f + 0.4f + 12 * kFrame);
}

TEST_F(StartupFlowTest, PressesSkipEachLogoAndTheVideo)
{
    const int frames = RunToMainMenu([&](int frame) {
        // A press every fifth frame, once the window under it has been drawn.
        if (frame % 5 == 4)
            Map()->OnMouseDown(500, 400);
    });
    EXPECT_EQ(states, (std::vector<NQScreenState>{screen::kSplashScreens, screen::kIntroVideo, screen::kMainMenu}));
    EXPECT_EQ(splashes.size(), 1u);
    EXPECT_EQ(videos.size(), 1u);
    EXPECT_EQ(menus.size(), 1u);
    EXPECT_EQ(Map()->mHud->mWindows.size(), 1u);
    EXPECT_LE(frames, 3 * 5 + 2);
}
} // namespace
} // namespace gametest
