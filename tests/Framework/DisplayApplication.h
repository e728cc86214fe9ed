#pragma once

// A game application with the game's logical sizes and a renderer that is
// made but not started: enough for the display-mode arithmetic.
#include "Core/Render/DX9/RenderDX9.h"
#include "Framework/GameApplication.h"

namespace frameworktest
{
class DisplayApplication : public framework::GameApplication
{
public:
    DisplayApplication()
    {
        mLogicalWidth = 1024;
        mLogicalHeight = 768;
        mMaxLogicalWidth = 1366;
        mRender = new render::RenderDX9;
    }
    ~DisplayApplication() override
    {
        delete mRender;
        mRender = nullptr;
    }
    HVResultEnum InitGame() override { return HV_OK; }
    HVResultEnum UpdateGame(float) override { return HV_OK; }

    void SetMonitor(int width, int height, int workWidth, int workHeight)
    {
        app::MonitorInfo monitor;
        monitor.mWidth = width;
        monitor.mHeight = height;
        monitor.mWorkWidth = workWidth;
        monitor.mWorkHeight = workHeight;
        monitor.mPrimary = true;
        mMonitors.mMonitors = {monitor};
    }
};
} // namespace frameworktest
