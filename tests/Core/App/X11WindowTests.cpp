// The window task on a real X server (Xvfb): a pointer warped out of the
// window is reported by one move at its position and one leave.
#include "Core/App/Window.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/Input.h"
#include "../Input/RecordingListener.h"

#include <SDL.h>
#include <gtest/gtest.h>

using namespace inputtest;
using Calls = std::vector<std::string>;

namespace
{
class IdentityConverter : public input::CoordConverter
{
public:
    void ToLogical(input::Point& out, const input::Point& in) override { out = in; }
    void ApplyOrientation(input::Point& out, const input::Point& in, int) override { out = in; }
};

void PumpFor(app::Window& window, int ms)
{
    const Uint32 end = SDL_GetTicks() + ms;
    while (SDL_GetTicks() < end)
    {
        window.Update(0.0f);
        SDL_Delay(1);
    }
}

TEST(X11Window, WarpOutOfTheWindowGivesAMoveAndALeave)
{
    RecordingListener listener;
    IdentityConverter converter;
    input::InputWin32 input(&listener, &converter);
    app::Window window(&input, false, false, true);
    ASSERT_EQ(window.Create(100, 100, 320, 270, 320, 240, true, L"X11 window"), HV_OK);
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    PumpFor(window, 300);

    POINT origin{0, 0};
    ClientToScreen(window.GetHandle(), &origin);
    SDL_WarpMouseGlobal(origin.x + 40, origin.y + 30);
    PumpFor(window, 300);
    EXPECT_TRUE(window.mPointerInside);

    listener.calls.clear();
    SDL_WarpMouseGlobal(origin.x + 500, origin.y + 20);
    PumpFor(window, 300);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, origin.x + 500);
    EXPECT_EQ(cursor.y, origin.y + 20);
    EXPECT_FALSE(window.mPointerInside);
    ASSERT_GE(listener.calls.size(), 2u);
    EXPECT_EQ(listener.calls[listener.calls.size() - 2], "move 500,20");
    EXPECT_EQ(listener.calls.back(), "leave 500,20");
}
} // namespace
