// The full-screen switch on a real X server (run by x11-session.sh, with a
// window manager and without): Alt+Enter toggles window and full screen ten
// times; after each switch the window is mapped, not minimised, of the
// mode's size, and the game goes on presenting frames.
#include "GameFixture.h"
#include "LevelFixture.h"
#include "X11WindowProbe.h"

#include "Framework/GameWindow.h"
#include "Game/Game.h"
#include "Platform/D3D9/TestSupport.h"
#include "Platform/Win32/Monitors.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kToggles = 10;
// Frames presented after a switch before it counts as done.
constexpr int kFramesAfterSwitch = 3;
// Time a window manager may take to map, size and raise the window.
constexpr Uint32 kSettleMs = 10000;
constexpr int kWindowWidth = 1366;
constexpr int kWindowHeight = 768;

TEST(FullScreenSwitchX11, TenTogglesKeepTheWindowMappedSizedAndRunning)
{
    gametest::GameRun run;
    win32::SetDisplaySource(nullptr); // the X server's own screen
    run.WriteProfiles(gametest::ProfilesXml(0, 0, "<fs v=\"false\"/>"));
    ASSERT_EQ(run.Start(), HV_OK);
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    ASSERT_TRUE(run.game->IsWindowed());
    SDL_DisplayMode screen{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &screen), 0);
    ASSERT_GT(screen.w, kWindowWidth) << "the window must fit for the switch to go both ways";

    const HWND hwnd = run.game->mWindow->GetHandle();
    const gametest::X11WindowProbe probe(hwnd->sdlWindow);
    ASSERT_TRUE(probe.Valid());
    int presents = 0;
    d3d9test::SetPresentObserver([&presents](IDirect3DDevice9*) { ++presents; });

    for (int toggle = 0; toggle < kToggles; ++toggle)
    {
        const bool toWindowed = !run.game->IsWindowed();
        const int width = toWindowed ? kWindowWidth : screen.w;
        const int height = toWindowed ? kWindowHeight : screen.h;
        testwin::PushAltEnter(hwnd);
        int presentsAtSwitch = -1;
        gametest::X11WindowState state;
        const Uint32 end = SDL_GetTicks() + kSettleMs;
        while (SDL_GetTicks() < end)
        {
            ASSERT_EQ(run.Pump(1), HV_OK) << "toggle " << toggle;
            if (run.game->IsWindowed() != toWindowed)
                continue;
            if (presentsAtSwitch < 0)
                presentsAtSwitch = presents;
            state = probe.Read();
            if (state.viewable && !state.hidden && state.width == width && state.height == height
                && presents >= presentsAtSwitch + kFramesAfterSwitch)
                break;
        }
        SCOPED_TRACE(testing::Message() << "toggle " << toggle << " to " << (toWindowed ? "window" : "full screen"));
        ASSERT_EQ(run.game->IsWindowed(), toWindowed);
        EXPECT_TRUE(state.viewable) << gametest::Describe(state);
        EXPECT_FALSE(state.hidden) << gametest::Describe(state);
        EXPECT_EQ(state.width, width);
        EXPECT_EQ(state.height, height);
        ASSERT_GE(presents, presentsAtSwitch + kFramesAfterSwitch) << "the game stopped presenting frames";
    }
    d3d9test::SetPresentObserver(nullptr);
}
} // namespace
