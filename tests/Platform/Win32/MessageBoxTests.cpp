#include "Platform/Win32/MessageBox.h"

#include "support/ScopedEnv.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace
{
// Headless, SDL cannot show a box: the call must still report on standard
// error and return at once instead of waiting for a click.
TEST(MessageBox, HeadlessRunReportsAndReturns)
{
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
        GTEST_SKIP() << "a display could show the box and wait for a click";
    const auto start = std::chrono::steady_clock::now();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, L"text \x041F", L"Error", MB_ICONERROR), IDOK);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Error"), std::string::npos);
    EXPECT_NE(err.find("text \xD0\x9F"), std::string::npos);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// On the offscreen driver no box opens even when an X display could show one
// (run under Xvfb to see it): the text is on standard error and the call returns.
TEST(MessageBox, OffscreenDriverNeverOpensABox)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "without a display no box could open anyway";
    const hvtest::ScopedEnv driver("SDL_VIDEODRIVER", "offscreen");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    const auto start = std::chrono::steady_clock::now();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, L"damaged", L"Error", MB_ICONERROR), IDOK);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Error: damaged"), std::string::npos);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
} // namespace
