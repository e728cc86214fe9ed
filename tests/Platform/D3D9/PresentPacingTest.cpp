// Which presents the device paces itself: the asked interval, the switch
// that turns pacing off, and the display's refresh on a software rasteriser.
#include "DeviceFixture.h"

#include "Platform/D3D9/PresentPacer.h"
#include "Platform/D3D9/TestSupport.h"

#include <epoxy/gl.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace d3d9fixture {
namespace {

constexpr const char* kSwitch = "HV_PRESENT_UNPACED";

struct PacingCase
{
    const char* name;
    UINT interval;
    const char* switchValue; // null: not set
    bool paced;
};

class PresentPacing : public DeviceTest, public testing::WithParamInterface<PacingCase>
{
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        if (const char* value = std::getenv(kSwitch))
            saved_ = value;
    }
    void TearDown() override
    {
        DeviceTest::TearDown();
        if (saved_)
            setenv(kSwitch, saved_->c_str(), 1);
        else
            unsetenv(kSwitch);
    }
    static void SetSwitch(const char* value)
    {
        if (value)
            setenv(kSwitch, value, 1);
        else
            unsetenv(kSwitch);
    }
    // The display's period: what a software rasteriser is paced to.
    std::chrono::nanoseconds DisplayPeriod() const
    {
        SDL_DisplayMode mode{};
        const int display = SDL_GetWindowDisplayIndex(window_);
        const int hertz = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
        return std::chrono::duration_cast<std::chrono::nanoseconds>(d3d9::RefreshPeriod(hertz));
    }
    bool SoftwareRasteriser() const
    {
        const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        return renderer && std::string(renderer).find("llvmpipe") != std::string::npos;
    }

    std::optional<std::string> saved_;
};

TEST_P(PresentPacing, PacesWhatTheIntervalAsks)
{
    const PacingCase& c = GetParam();
    SetSwitch(c.switchValue);
    D3DPRESENT_PARAMETERS params = Params(true, kSize, kSize);
    params.PresentationInterval = c.interval;
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, hwnd_, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device_),
              D3D_OK);
    if (!SoftwareRasteriser())
        GTEST_SKIP() << "the driver paces its own swaps";
    EXPECT_EQ(d3d9test::PresentPeriod(device_), c.paced ? DisplayPeriod() : std::chrono::nanoseconds(0));
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PresentPacing,
    testing::Values(PacingCase{"Immediate", D3DPRESENT_INTERVAL_IMMEDIATE, nullptr, false},
                    PacingCase{"Default", D3DPRESENT_INTERVAL_DEFAULT, nullptr, true},
                    PacingCase{"One", D3DPRESENT_INTERVAL_ONE, nullptr, true},
                    PacingCase{"DefaultWithTheSwitch", D3DPRESENT_INTERVAL_DEFAULT, "1", false},
                    PacingCase{"DefaultWithTheSwitchOff", D3DPRESENT_INTERVAL_DEFAULT, "0", true},
                    PacingCase{"ImmediateWithTheSwitchOff", D3DPRESENT_INTERVAL_IMMEDIATE, "0", false}),
    [](const testing::TestParamInfo<PacingCase>& info) { return std::string(info.param.name); });

class PresentPacingReset : public PresentPacing
{
};

TEST_F(PresentPacingReset, ResetTakesTheNewInterval)
{
    SetSwitch(nullptr);
    CreateDevice(true); // immediate
    if (!SoftwareRasteriser())
        GTEST_SKIP() << "the driver paces its own swaps";
    EXPECT_EQ(d3d9test::PresentPeriod(device_), std::chrono::nanoseconds(0));
    D3DPRESENT_PARAMETERS params = Params(true, kSize, kSize);
    params.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    EXPECT_EQ(d3d9test::PresentPeriod(device_), DisplayPeriod());
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_EQ(device_->Reset(&params), D3D_OK);
    EXPECT_EQ(d3d9test::PresentPeriod(device_), std::chrono::nanoseconds(0));
}

} // namespace
} // namespace d3d9fixture
