#include "Core/Base/SingletoneRegistry.h"
#include "Framework/ScreenModeListener.h"
#include "Framework/ScreenModeListeners.h"
#include "DisplayApplication.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

namespace
{
using frameworktest::DisplayApplication;

struct Bars
{
    float a[4];
    float b[4];
};

struct ModeRow
{
    int width;
    int height;
    bool pillarbox;
    int kind; // 0 in range, 1 letterbox, 2 pillarbox or stretch
    float viewportWidth;
    float viewportX;
    bool target;
    float scaleX; // direct: renderer mapping scale; target: target draw scale
    float scaleY;
    uint32_t targetWidth;
    bool barsActive;
    Bars bars; // in pixels for target rows, logical for direct rows
    float screenScaleX;
    float screenOffsetX;
    float screenOffsetY;
};

std::ostream& operator<<(std::ostream& out, const ModeRow& row)
{
    return out << row.width << "x" << row.height << (row.pillarbox ? "" : " stretched");
}

class ChooseDisplayModeTable : public testing::TestWithParam<ModeRow>
{
protected:
    void SetUp() override { application = new DisplayApplication; }
    void TearDown() override { base::testing::TeardownSingletonsNow(); }

    DisplayApplication* application = nullptr;
};

// A logical point through a projection, in clip space.
math::Vector3 Project(const math::Matrix4& projection, float x, float y)
{
    math::Vector3 out;
    projection.TransformPoint(math::Vector3(x, y, 0.0f), out);
    return out;
}

TEST_P(ChooseDisplayModeTable, FullScreen)
{
    const ModeRow& row = GetParam();
    application->SetMonitor(row.width, row.height, row.width, row.height);
    application->mPillarboxAllowed = row.pillarbox ? 1 : 0;
    framework::DisplaySettings settings;
    ASSERT_EQ(application->ChooseDisplayMode(false, settings), HV_OK);

    const render::RenderInitParam& param = settings.mRenderParam;
    EXPECT_EQ(param.mWindowed, 0);
    EXPECT_EQ(settings.mFullscreenFallback, 0);
    EXPECT_EQ(param.mWidth, uint32_t(row.width));
    EXPECT_EQ(param.mHeight, uint32_t(row.height));
    EXPECT_EQ(settings.mOuterWidth, row.width);
    EXPECT_EQ(settings.mOuterHeight, row.height);
    EXPECT_FLOAT_EQ(application->mViewportWidth, row.viewportWidth);
    EXPECT_FLOAT_EQ(application->mViewportX, row.viewportX);
    EXPECT_FLOAT_EQ(application->mViewportHeight, 768.0f);
    EXPECT_EQ(application->mBarsActive != 0, row.barsActive);
    EXPECT_EQ(application->mBarsVertical != 0, row.barsActive && row.kind == 2);
    if (row.barsActive)
        for (int i = 0; i < 4; ++i)
        {
            const float* got0 = &application->mBars[0].x;
            const float* got1 = &application->mBars[1].x;
            EXPECT_NEAR(got0[i], row.bars.a[i], 1e-3) << "bar 1 field " << i;
            EXPECT_NEAR(got1[i], row.bars.b[i], 1e-3) << "bar 2 field " << i;
        }
    EXPECT_NEAR(application->mScreenToLogicalScaleX, row.screenScaleX, 1e-5);
    EXPECT_NEAR(application->mScreenToLogicalOffsetX, row.screenOffsetX, 1e-2);
    EXPECT_NEAR(application->mScreenToLogicalOffsetY, row.screenOffsetY, 1e-3);

    const float sw = float(row.width);
    const float sh = float(row.height);
    EXPECT_EQ(settings.mUseTarget != 0, row.target);
    if (row.target)
    {
        EXPECT_EQ(param.mDeriveProjection, 1);
        EXPECT_EQ(settings.mTargetWidth, row.targetWidth);
        EXPECT_EQ(settings.mTargetHeight, 768u);
        EXPECT_NEAR(application->mTargetDrawScaleX, row.scaleX, 1e-5);
        EXPECT_NEAR(application->mTargetDrawScaleY, row.scaleY, 1e-5);
        EXPECT_FLOAT_EQ(application->mTargetDrawX, sw / 2.0f);
        EXPECT_FLOAT_EQ(application->mTargetDrawY, sh / 2.0f);
        EXPECT_FLOAT_EQ(settings.mTargetOffsetX, -row.viewportX);
        EXPECT_FLOAT_EQ(settings.mTargetScaleX, 1.0f);
        // The target's corners are the visible logical plane's corners.
        const math::Vector3 topLeft = Project(settings.mTargetProjection, row.viewportX, 0.0f);
        const math::Vector3 bottomRight = Project(settings.mTargetProjection, row.viewportX + row.viewportWidth, 768.0f);
        EXPECT_NEAR(topLeft.x, -1.0f, 1e-5);
        EXPECT_NEAR(topLeft.y, 1.0f, 1e-5);
        EXPECT_NEAR(bottomRight.x, 1.0f, 1e-5);
        EXPECT_NEAR(bottomRight.y, -1.0f, 1e-5);
    }
    else
    {
        EXPECT_EQ(param.mDeriveProjection, 0);
        EXPECT_NEAR(param.mScaleX, row.scaleX, 1e-5);
        EXPECT_NEAR(param.mScaleY, row.scaleY, 1e-5);
        // The logical centre lands on the screen centre.
        const math::Vector3 centre = Project(param.mProjection, 512.0f, 384.0f);
        EXPECT_NEAR(centre.x, 0.0f, 1e-4);
        EXPECT_NEAR(centre.y, 0.0f, 1e-4);
    }

    // Round trip: the picture's left edge is the viewport's left edge, and
    // the screen centre is the logical centre.
    const float displayed = row.viewportWidth / application->mScreenToLogicalScaleX;
    input::Point logical;
    application->ToLogical(logical, {(sw - displayed) / 2.0f, 0.0f});
    EXPECT_NEAR(logical.x, row.viewportX, 1e-2);
    application->ToLogical(logical, {sw / 2.0f, sh / 2.0f});
    EXPECT_NEAR(logical.x, 512.0f, 1e-2);
    EXPECT_NEAR(logical.y, 384.0f, 1e-2);
}

const float kNoBar[4] = {0, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, ChooseDisplayModeTable,
    testing::Values(
        ModeRow{1024, 768, true, 0, 1024, 0, false, 1, 1, 0, false, {}, 1, 0, 0},
        ModeRow{1366, 768, true, 0, 1366, -171, false, 1, 1, 0, false, {}, 1, -171, 0},
        ModeRow{800, 600, true, 0, 1024, 0, false, 0.78125f, 0.78125f, 0, false, {}, 1.28f, 0, 0},
        ModeRow{1280, 720, true, 0, 1365, -170.5f, false, 1280.0f / 1365.0f, 0.9375f, 0, false, {}, 1365.0f / 1280.0f,
                -170.5f * 1280.0f / 1365.0f, 0},
        ModeRow{1920, 1080, true, 0, 1365, -170.5f, true, 1920.0f / 1365.0f, 1.40625f, 1365, false, {},
                1365.0f / 1920.0f, -170.5f * 1920.0f / 1365.0f, 0},
        ModeRow{1280, 1024, true, 1, 1024, 0, true, 1.25f, 1.25f, 1024, true,
                {{0, 0, 1280, 32}, {0, 992, 1280, 32}}, 0.8f, 0, -32},
        ModeRow{2560, 1080, true, 2, 1366, -171, true, 1.0f * 1920 / 1366, 1.40625f, 1366, true,
                {{0, 0, 320, 1080}, {2240, 0, 320, 1080}}, 1366.0f / 1920.0f, -320 - 171.0f * 1920 / 1366, 0},
        ModeRow{1440, 900, true, 0, 1228, -102, true, 1440.0f / 1228.0f, 900.0f / 768.0f, 1228, false, {},
                1228.0f / 1440.0f, -102.0f * 1440.0f / 1228.0f, 0},
        // 1023:768 reduces to 341:256; 3 x 341 / 256 truncates to 3 < 4.
        ModeRow{1023, 768, true, 1, 1024, 0, false, 1023.0f / 1024.0f, 767.0f / 768.0f, 0, true,
                {{0, -0.5f * 768.0f / 767.0f, 1024, 0.5f * 768.0f / 767.0f}, {0, 768, 1024, 0.5f * 768.0f / 767.0f}},
                1024.0f / 1023.0f, 0, -0.5f},
        ModeRow{1025, 768, true, 0, 1025, -0.5f, false, 1, 1, 0, false, {}, 1, -0.5f, 0},
        ModeRow{2560, 1080, false, 2, 1366, -171, true, 2560.0f / 1366, 1.40625f, 1366, false, {}, 1366.0f / 2560.0f,
                -171.0f * 2560 / 1366, 0}));

class DisplayModeTest : public testing::Test
{
protected:
    void SetUp() override { application = new DisplayApplication; }
    void TearDown() override { base::testing::TeardownSingletonsNow(); }

    DisplayApplication* application = nullptr;
};

TEST_F(DisplayModeTest, WindowIsCentredInTheWorkAreaWithTheFrameRule)
{
    application->SetMonitor(1920, 1080, 1920, 1040);
    framework::DisplaySettings settings;
    ASSERT_EQ(application->ChooseDisplayMode(true, settings), HV_OK);
    EXPECT_EQ(settings.mRenderParam.mWindowed, 1);
    EXPECT_EQ(settings.mFullscreenFallback, 0);
    EXPECT_EQ(settings.mRenderParam.mWidth, 1366u);
    EXPECT_EQ(settings.mRenderParam.mHeight, 768u);
    EXPECT_EQ(settings.mOuterWidth, 1366);
    EXPECT_EQ(settings.mOuterHeight, 798);
    EXPECT_EQ(settings.mWindowX, 277);
    EXPECT_EQ(settings.mWindowY, 121);
    EXPECT_FLOAT_EQ(application->mViewportX, -171.0f);
    EXPECT_FLOAT_EQ(settings.mRenderParam.mOffsetX, 171.0f);
    EXPECT_FLOAT_EQ(settings.mRenderParam.mOffsetY, 0.0f);
    EXPECT_EQ(settings.mUseTarget, 0);
    EXPECT_FALSE(application->WindowDoesNotFitWorkArea());
}

TEST_F(DisplayModeTest, WindowCentringIsSignedAndUsesTheWorkAreaOrigin)
{
    // A secondary primary monitor left of the origin, work area below a top panel.
    app::MonitorInfo other;
    other.mWidth = other.mWorkWidth = 800;
    other.mHeight = other.mWorkHeight = 600;
    app::MonitorInfo primary;
    primary.mX = primary.mWorkX = -1920;
    primary.mWidth = primary.mWorkWidth = 1920;
    primary.mHeight = 1080;
    primary.mWorkY = 27;
    primary.mWorkHeight = 1053;
    primary.mPrimary = true;
    application->mMonitors.mMonitors = {other, primary};
    framework::DisplaySettings settings;
    ASSERT_EQ(application->ChooseDisplayMode(true, settings), HV_OK);
    EXPECT_EQ(settings.mWindowX, 277 - 1920);
    EXPECT_EQ(settings.mWindowY, (1053 - 798) / 2 + 27);

    framework::DisplaySettings full;
    ASSERT_EQ(application->ChooseDisplayMode(false, full), HV_OK);
    EXPECT_EQ(full.mWindowX, -1920);
    EXPECT_EQ(full.mRenderParam.mWidth, 1920u);
}

TEST_F(DisplayModeTest, WindowThatDoesNotFitTheWorkAreaFallsBackToFullScreen)
{
    application->SetMonitor(1366, 768, 1366, 728);
    EXPECT_TRUE(application->WindowDoesNotFitWorkArea());
    framework::DisplaySettings settings;
    ASSERT_EQ(application->ChooseDisplayMode(true, settings), HV_OK);
    EXPECT_EQ(settings.mFullscreenFallback, 1);
    EXPECT_EQ(settings.mRenderParam.mWindowed, 0);
    EXPECT_EQ(settings.mOuterWidth, 1366);
    EXPECT_EQ(settings.mOuterHeight, 768);
    EXPECT_FLOAT_EQ(application->mViewportX, -171.0f);
}

TEST_F(DisplayModeTest, MissingOrEmptyMonitorsUseASyntheticOne)
{
    const std::vector<std::vector<app::MonitorInfo>> lists = {{}, {app::MonitorInfo{}}};
    for (const auto& list : lists)
    {
        application->mMonitors.mMonitors = list;
        framework::DisplaySettings settings;
        ASSERT_EQ(application->ChooseDisplayMode(false, settings), HV_OK);
        EXPECT_EQ(settings.mRenderParam.mWidth, 1366u);
        EXPECT_EQ(settings.mRenderParam.mHeight, 768u);
        EXPECT_FLOAT_EQ(application->mViewportWidth, 1366.0f);
        EXPECT_TRUE(std::isfinite(application->mScreenToLogicalScaleX));
        // The synthetic work area is the whole monitor: the framed window does not fit.
        EXPECT_TRUE(application->WindowDoesNotFitWorkArea());
    }
}

// Counts notifications and may unregister itself (or another) when told.
class CountingListener : public framework::ScreenModeListener
{
public:
    void OnScreenModeChanged(const bool& windowed) override
    {
        seen.push_back(windowed);
        if (unregister)
            framework::ScreenModeListeners::Instance()->Unregister(unregister);
    }
    std::vector<bool> seen;
    framework::ScreenModeListener* unregister = nullptr;
};

TEST_F(DisplayModeTest, ListenersAreNotifiedOnceAndMayUnregisterDuringTheWalk)
{
    CountingListener first;
    CountingListener second;
    CountingListener third;
    first.unregister = &first;   // itself
    second.unregister = &third;  // a later one: it is not called this time
    auto* listeners = framework::ScreenModeListeners::Instance();
    listeners->Register(&first);
    listeners->Register(&first);
    listeners->Register(&second);
    listeners->Register(&third);
    application->NotifyScreenModeListeners(false);
    EXPECT_EQ(first.seen, std::vector<bool>{false});
    EXPECT_EQ(second.seen, std::vector<bool>{false});
    EXPECT_TRUE(third.seen.empty());
    second.unregister = nullptr;
    application->NotifyScreenModeListeners(true);
    EXPECT_EQ(first.seen.size(), 1u);
    EXPECT_EQ(second.seen, (std::vector<bool>{false, true}));
    listeners->Unregister(&second);
}
} // namespace
