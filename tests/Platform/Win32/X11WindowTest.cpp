// The real X11 path, run under Xvfb: the window opens with its client size
// and first paint, and a pointer warped outside it is seen as outside.
#include "support/TestWindow.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <gtest/gtest.h>

using namespace testwin;

namespace
{
void PumpFor(int ms)
{
    const Uint32 end = SDL_GetTicks() + ms;
    while (SDL_GetTicks() < end)
    {
        PumpAll(nullptr);
        SDL_Delay(5);
    }
}

size_t Count(const Recorder& rec, UINT message)
{
    size_t n = 0;
    for (const Received& r : rec.log)
        n += r.message == message;
    return n;
}

TEST(X11Window, OpensPaintsAndTracksThePointer)
{
    Recorder rec;
    HWND hwnd = MakeWindow(rec, kWindowed, {100, 100, 420, 370});
    ASSERT_NE(hwnd, nullptr) << SDL_GetError();
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    EXPECT_GE(Count(rec, WM_PAINT), 1u) << "first paint inside UpdateWindow";
    PumpFor(300);

    int w = 0, h = 0;
    SDL_GetWindowSize(hwnd->sdlWindow, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);

    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    SDL_WarpMouseInWindow(hwnd->sdlWindow, 50, 60);
    PumpFor(300);
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, origin.x + 50);
    EXPECT_EQ(cursor.y, origin.y + 60);
    EXPECT_EQ(WindowFromPoint(cursor), hwnd);

    rec.log.clear();
    SDL_WarpMouseGlobal(origin.x + 400, origin.y + 300);
    PumpFor(300);
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, origin.x + 400);
    EXPECT_EQ(cursor.y, origin.y + 300);
    EXPECT_EQ(WindowFromPoint(cursor), nullptr);
    EXPECT_EQ(WindowFromPoint(POINT{origin.x + 50, origin.y + 60}), nullptr) << "the pointer left";

    DestroyWindow(hwnd);
    CurrentRecorder() = nullptr;
}
TEST(X11Window, AnXErrorDoesNotEndTheProgram)
{
    // A window manager may destroy a window SDL still asks about; Xlib's own
    // handler would exit with code 1 on the BadWindow.
    Recorder rec;
    HWND hwnd = MakeWindow(rec, kWindowed, {100, 100, 420, 370});
    ASSERT_NE(hwnd, nullptr) << SDL_GetError();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(hwnd->sdlWindow, &info));
    Display* display = info.info.x11.display;
    const ::Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
    XDestroyWindow(display, gone);
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(display, gone, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    XSync(display, False);
    PumpFor(50);
    SUCCEED() << "still running";
    DestroyWindow(hwnd);
    CurrentRecorder() = nullptr;
}
} // namespace
