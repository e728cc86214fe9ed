#include "Platform/Win32/Monitors.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace testwin;

namespace
{
class ModesTest : public WindowTest
{
protected:
    RECT Client()
    {
        RECT r;
        GetClientRect(hwnd, &r);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        return {origin.x, origin.y, origin.x + r.right, origin.y + r.bottom};
    }
};

void ExpectRect(const RECT& r, LONG l, LONG t, LONG ri, LONG b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, ri);
    EXPECT_EQ(r.bottom, b);
}

TEST(FrameRule, AdjustWindowRectAddsOnlyTheTitleBarOfACaptionedStyle)
{
    RECT r{0, 0, 800, 600};
    ASSERT_TRUE(AdjustWindowRect(&r, kWindowed, FALSE));
    ExpectRect(r, 0, -30, 800, 600);
    r = {0, 0, 800, 600};
    AdjustWindowRect(&r, kPopup, FALSE);
    ExpectRect(r, 0, 0, 800, 600);
}

TEST_F(ModesTest, WindowedToFullScreenAndBackFollowsTheFrameRule)
{
    const Uint32 fullscreen = SDL_WINDOW_FULLSCREEN_DESKTOP;
    EXPECT_EQ(SDL_GetWindowFlags(hwnd->sdlWindow) & fullscreen, 0u);
    EXPECT_EQ(SDL_GetWindowFlags(hwnd->sdlWindow) & SDL_WINDOW_BORDERLESS, 0u);

    ShowWindow(hwnd, SW_HIDE);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(kPopup));
    ASSERT_TRUE(SetWindowPos(hwnd, HWND_TOP, 0, 0, 1024, 768, SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOZORDER));
    ExpectRect(Client(), 0, 0, 1024, 768);
    EXPECT_EQ(SDL_GetWindowFlags(hwnd->sdlWindow) & fullscreen, fullscreen);
    EXPECT_TRUE(SDL_GetWindowFlags(hwnd->sdlWindow) & SDL_WINDOW_SHOWN);
    // The size and move were sent inside the call.
    ASSERT_GE(rec.log.size(), 2u);
    EXPECT_EQ(rec.log[0].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(rec.log[0].lParam, MAKELPARAM(1024, 768));
    EXPECT_EQ(rec.log[1].message, static_cast<UINT>(WM_MOVE));
    EXPECT_EQ(rec.log[1].lParam, MAKELPARAM(0, 0));
    PumpAll(nullptr);

    ShowWindow(hwnd, SW_HIDE);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(kWindowed));
    SetWindowPos(hwnd, HWND_NOTOPMOST, 100, 100, 640, 510, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    ExpectRect(Client(), 100, 130, 740, 610);
    EXPECT_EQ(SDL_GetWindowFlags(hwnd->sdlWindow) & fullscreen, 0u);
    EXPECT_EQ(SDL_GetWindowFlags(hwnd->sdlWindow) & SDL_WINDOW_BORDERLESS, 0u);
    int w = 0, h = 0;
    SDL_GetWindowSize(hwnd->sdlWindow, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    WINDOWPLACEMENT wp{};
    GetWindowPlacement(hwnd, &wp);
    ExpectRect(wp.rcNormalPosition, 100, 100, 740, 610);
}

TEST(PopupWindow, OffTheDisplayRectangleIsBorderlessAndOnItFullScreen)
{
    Recorder rec;
    HWND popup = MakeWindow(rec, kPopup, {10, 10, 310, 210});
    ASSERT_NE(popup, nullptr);
    RECT r;
    GetClientRect(popup, &r);
    ExpectRect(r, 0, 0, 300, 200);
    EXPECT_EQ(SDL_GetWindowFlags(popup->sdlWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_TRUE(SDL_GetWindowFlags(popup->sdlWindow) & SDL_WINDOW_BORDERLESS);
    DestroyWindow(popup);

    HWND full = MakeWindow(rec, kPopup, {0, 0, 1024, 768});
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(SDL_GetWindowFlags(full->sdlWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP,
              static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP));
    DestroyWindow(full);
    PumpAll(nullptr);
    CurrentRecorder() = nullptr;
}

TEST_F(ModesTest, MoveOnlySendsOnlyTheMove)
{
    SetWindowPos(hwnd, nullptr, 50, 60, 640, 510, SWP_NOZORDER);
    ASSERT_EQ(rec.log.size(), 1u);
    EXPECT_EQ(rec.log[0].message, static_cast<UINT>(WM_MOVE));
    EXPECT_EQ(rec.log[0].lParam, MAKELPARAM(50, 90));
    rec.log.clear();
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(ModesTest, WindowFromPointNeedsThePointerInside)
{
    POINT inside{150, 150};
    EXPECT_EQ(WindowFromPoint(inside), nullptr);
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_ENTER));
    Push(Motion(hwnd, 20, 30));
    PumpAll(hwnd);
    EXPECT_EQ(WindowFromPoint(inside), hwnd);
    EXPECT_EQ(WindowFromPoint(POINT{90, 150}), nullptr);
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 120) << "the tracked position without global positions";
    EXPECT_EQ(cursor.y, 160);
    Push(WindowEvent(hwnd, SDL_WINDOWEVENT_LEAVE));
    Push(Motion(hwnd, -10, 30));
    PumpAll(hwnd);
    EXPECT_EQ(WindowFromPoint(inside), nullptr);
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 90) << "motion outside still moves the tracked pointer";
}

TEST_F(ModesTest, CursorAndIconResources)
{
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_NE(arrow, nullptr);
    SetCursor(arrow);
    EXPECT_EQ(SetCursor(arrow), arrow);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(32513)), nullptr);
    EXPECT_NE(LoadIconW(nullptr, MAKEINTRESOURCEW(109)), nullptr);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(108)), nullptr);
    EXPECT_TRUE(ReleaseCapture());
}

struct Collected
{
    std::vector<MONITORINFO> infos;
    int stopAfter = -1;
};

BOOL Collect(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto* c = reinterpret_cast<Collected*>(data);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!GetMonitorInfoA(monitor, &mi))
        return FALSE;
    c->infos.push_back(mi);
    return static_cast<int>(c->infos.size()) != c->stopAfter;
}

class MonitorsTest : public ::testing::Test
{
protected:
    void TearDown() override { win32::SetDisplaySource(nullptr); }
};

TEST_F(MonitorsTest, OffscreenDriverHasOnePrimaryMonitor)
{
    EXPECT_EQ(sizeof(MONITORINFO), 40u);
    Collected c;
    ASSERT_TRUE(EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&c)));
    ASSERT_EQ(c.infos.size(), 1u);
    ExpectRect(c.infos[0].rcMonitor, 0, 0, 1024, 768);
    EXPECT_EQ(c.infos[0].dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
}

TEST_F(MonitorsTest, SuppliedDisplaysKeepTheirWorkAreas)
{
    win32::SetDisplaySource([] {
        return std::vector<win32::DisplayArea>{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                                               {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}}};
    });
    Collected c;
    ASSERT_TRUE(EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&c)));
    ASSERT_EQ(c.infos.size(), 2u);
    ExpectRect(c.infos[0].rcWork, 0, 0, 1920, 1040);
    EXPECT_EQ(c.infos[0].dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
    ExpectRect(c.infos[1].rcMonitor, 1920, 0, 3200, 1024);
    EXPECT_EQ(c.infos[1].dwFlags, 0u);

    Collected stopped;
    stopped.stopAfter = 1;
    EXPECT_FALSE(EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&stopped)));
    EXPECT_EQ(stopped.infos.size(), 1u);
}

TEST_F(MonitorsTest, NoOrEmptyDisplayGivesTheFallbackMonitor)
{
    for (auto displays : {std::vector<win32::DisplayArea>{},
                          std::vector<win32::DisplayArea>{{{0, 0, 0, 768}, {0, 0, 0, 768}}}})
    {
        win32::SetDisplaySource([displays] { return displays; });
        Collected c;
        ASSERT_TRUE(EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&c)));
        ASSERT_EQ(c.infos.size(), 1u);
        ExpectRect(c.infos[0].rcMonitor, 0, 0, 1366, 768);
        ExpectRect(c.infos[0].rcWork, 0, 0, 1366, 768);
        EXPECT_EQ(c.infos[0].dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
    }
}

TEST_F(MonitorsTest, MonitorInfoRejectsWrongSizeAndHandle)
{
    MONITORINFO mi{};
    mi.cbSize = 36;
    EXPECT_FALSE(GetMonitorInfoA(reinterpret_cast<HMONITOR>(1), &mi));
    mi.cbSize = sizeof mi;
    EXPECT_TRUE(GetMonitorInfoA(reinterpret_cast<HMONITOR>(1), &mi));
    EXPECT_FALSE(GetMonitorInfoA(reinterpret_cast<HMONITOR>(2), &mi));
    EXPECT_FALSE(GetMonitorInfoA(nullptr, &mi));
}
} // namespace
