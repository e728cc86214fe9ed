// The display-mode decision of the game application: window placement,
// logical viewport, bars, mappings and the offscreen target.
#include "Core/App/Win32/WindowWin32.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/ReduceRatio.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"
#include "Framework/ScreenModeListeners.h"

namespace framework
{
namespace
{
constexpr int kSyntheticWidth = 1366;
constexpr int kSyntheticHeight = 768;
} // namespace

app::MonitorInfo GameApplication::ChooseMonitor() const
{
    const app::MonitorInfo* chosen = nullptr;
    for (const app::MonitorInfo& monitor : mMonitors.mMonitors)
        if (monitor.mPrimary)
        {
            chosen = &monitor;
            break;
        }
    if (!chosen && !mMonitors.mMonitors.empty())
        chosen = &mMonitors.mMonitors.front();
    // An empty list or a monitor without area would divide by zero below.
    if (chosen && chosen->mWidth > 0 && chosen->mHeight > 0)
        return *chosen;
    HV_LOG(L"No usable monitor: assuming a %d x %d primary monitor\n") % kSyntheticWidth % kSyntheticHeight;
    app::MonitorInfo synthetic;
    synthetic.mWidth = synthetic.mWorkWidth = kSyntheticWidth;
    synthetic.mHeight = synthetic.mWorkHeight = kSyntheticHeight;
    synthetic.mPrimary = true;
    return synthetic;
}

HVResultEnum GameApplication::ChooseDisplayMode(bool windowed, DisplaySettings& settings)
{
    const app::MonitorInfo monitor = ChooseMonitor();
    const base::ReduceRatio baseRatio{int(mLogicalWidth), int(mLogicalHeight)};
    const base::ReduceRatio widest{int(mMaxLogicalWidth), int(mLogicalHeight)};

    int clientWidth = 0;
    int clientHeight = 0;
    if (windowed)
    {
        clientWidth = int(mMaxLogicalWidth);
        clientHeight = int(mLogicalHeight);
        int outerWidth = 0;
        int outerHeight = 0;
        app::WindowWin32::GetWindowSizeForClient(clientWidth, clientHeight, &outerWidth, &outerHeight);
        if (outerHeight > monitor.mWorkHeight || outerWidth > monitor.mWorkWidth)
        {
            settings.mFullscreenFallback = 1;
            windowed = false;
        }
        else
        {
            settings.mOuterWidth = outerWidth;
            settings.mOuterHeight = outerHeight;
            settings.mWindowX = (monitor.mWorkWidth - outerWidth) / 2 + monitor.mWorkX;
            settings.mWindowY = (monitor.mWorkHeight - outerHeight) / 2 + monitor.mWorkY;
        }
    }
    if (!windowed)
    {
        clientWidth = settings.mOuterWidth = monitor.mWidth;
        clientHeight = settings.mOuterHeight = monitor.mHeight;
        settings.mWindowX = monitor.mX;
        settings.mWindowY = monitor.mY;
    }

    render::RenderInitParam& param = settings.mRenderParam;
    param.mWindowed = windowed ? 1 : 0;
    param.mWidth = uint32_t(clientWidth);
    param.mHeight = uint32_t(clientHeight);
    const base::ReduceRatio screen{clientWidth, clientHeight};
    const float sw = float(clientWidth);
    const float sh = float(clientHeight);
    mBarsActive = 0;

    // Ratio tests in unsigned integers, truncating, in this exact order.
    const uint32_t bx = uint32_t(baseRatio.x), by = uint32_t(baseRatio.y);
    const uint32_t mx = uint32_t(widest.x), my = uint32_t(widest.y);
    const uint32_t sx = uint32_t(screen.x), sy = uint32_t(screen.y);
    const uint32_t cw = uint32_t(clientWidth), ch = uint32_t(clientHeight);
    uint32_t rx = 0, ry = 0;
    float drawnWidth = 0.0f;  // t
    float drawnHeight = 0.0f; // o
    float stretch = 1.0f;     // u
    if (by * sx / sy < bx || sx < bx * sy / by)
    {
        rx = bx;
        ry = by;
        drawnWidth = sw;
        drawnHeight = float(cw * by / bx);
        mBarsActive = 1;
        mBarsVertical = 0;
        const float h = (sh - drawnHeight) / 2.0f;
        mBars[0] = {0.0f, 0.0f, sw, h};
        mBars[1] = {0.0f, sh - h, sw, h};
    }
    else if (mx * sy / my < sx || mx < my * sx / sy)
    {
        rx = mx;
        ry = my;
        drawnHeight = sh;
        drawnWidth = float(ch * mx / my);
        if (mPillarboxAllowed)
        {
            mBarsActive = 1;
            mBarsVertical = 1;
            const float w = (sw - drawnWidth) / 2.0f;
            mBars[0] = {0.0f, 0.0f, w, sh};
            mBars[1] = {sw - w, 0.0f, w, sh};
        }
        else
        {
            stretch = sw / drawnWidth;
        }
    }
    else
    {
        rx = sx;
        ry = sy;
        drawnWidth = sw;
        drawnHeight = sh;
    }

    const float logicalHeight = float(mLogicalHeight);
    const uint32_t viewportWidth = mLogicalHeight * rx / ry;
    const float V = float(viewportWidth);
    mViewportWidth = V;
    mViewportHeight = logicalHeight;
    mViewportX = (float(mLogicalWidth) - V) / 2.0f;
    mViewportY = 0.0f;

    const float G = drawnWidth * stretch;
    mScreenToLogicalScaleX = V / G;
    mScreenToLogicalScaleY = logicalHeight / drawnHeight;
    mScreenToLogicalOffsetX = (G - sw) / 2.0f + mViewportX / mScreenToLogicalScaleX;
    mScreenToLogicalOffsetY = (drawnHeight - sh) / 2.0f;

    if (!(drawnHeight > logicalHeight))
    {
        settings.mUseTarget = 0;
        param.mDeriveProjection = 0;
        const float scaleX = G / V;
        const float scaleY = drawnHeight / logicalHeight;
        const float left = (sw - G) / 2.0f;
        const float top = (sh - drawnHeight) / 2.0f;
        math::Matrix4 projection(true);
        projection.Translate(-mViewportX, -mViewportY, 0.0f);
        projection.Scale(scaleX, scaleY, 1.0f);
        projection.Translate(left, top, 0.0f);
        math::Matrix4 ortho(true);
        const HVResultEnum made = mRender->MakeOrthoProjection(sw, sh, 0.0f, &ortho);
        if (made != HV_OK)
            return made;
        param.mProjection = projection * ortho;
        param.mScaleX = scaleX;
        param.mScaleY = scaleY;
        param.mOffsetX = left / scaleX - mViewportX;
        param.mOffsetY = top / scaleY - mViewportY;
        if (mBarsActive)
            for (Rect& bar : mBars)
                bar = {(bar.x - left) / scaleX + mViewportX, (bar.y - top) / scaleY + mViewportY, bar.width / scaleX,
                       bar.height / scaleY};
    }
    else
    {
        settings.mUseTarget = 1;
        param.mDeriveProjection = 1;
        settings.mTargetWidth = viewportWidth;
        settings.mTargetHeight = mLogicalHeight;
        math::Matrix4 shift(true);
        shift.Translate(-mViewportX, -mViewportY, 0.0f);
        math::Matrix4 ortho(true);
        const HVResultEnum made = mRender->MakeOrthoProjection(V, logicalHeight, 0.0f, &ortho);
        if (made != HV_OK)
            return made;
        settings.mTargetProjection = shift * ortho;
        settings.mTargetOffsetX = -mViewportX;
        settings.mTargetOffsetY = -mViewportY;
        mTargetDrawScaleX = G / V;
        mTargetDrawScaleY = drawnHeight / logicalHeight;
        mTargetDrawX = sw / 2.0f;
        mTargetDrawY = sh / 2.0f;
    }
    return HV_OK;
}

HVResultEnum GameApplication::CreateRenderTarget(const DisplaySettings& settings)
{
    if (!settings.mUseTarget)
        return HV_OK;
    render::RenderTarget* target = nullptr;
    const HVResultEnum result =
        mRender->CreateRenderTarget(settings.mTargetWidth, settings.mTargetHeight, &target, false);
    if (result != HV_OK)
        return result;
    target->SetProjectionAndMapping(settings.mTargetProjection, settings.mTargetScaleX, settings.mTargetScaleY,
                                    settings.mTargetOffsetX, settings.mTargetOffsetY);
    mTarget = target;
    return HV_OK;
}

HVResultEnum GameApplication::SwitchScreenMode()
{
    const bool wasWindowed = mWindow->mWindowed;
    DisplaySettings settings;
    HVResultEnum result = ChooseDisplayMode(!wasWindowed, settings);
    if (result != HV_OK)
        return result;
    // A window was asked for and does not fit: stay as we are.
    if (settings.mFullscreenFallback)
        return HV_OK;
    ReleaseTarget();
    HV_LOG(L"mRender->PrepareSwitchScreenMode()\n");
    result = mRender->PrepareSwitchScreenMode();
    if (result != HV_OK)
        return result;
    if (wasWindowed)
    {
        HV_LOG(L"SwitchWindowMode(false)\n");
        result = mWindow->SwitchWindowMode(settings.mOuterWidth, settings.mOuterHeight, false);
        if (result != HV_OK)
            return result;
        HV_LOG(L"mRender->SwitchScreenMode()\n");
        result = mRender->SwitchScreenMode(settings.mRenderParam);
        if (result != HV_OK)
            return result;
    }
    else
    {
        // The window comes back centred, as it starts.
        mWindow->mSavedX = settings.mWindowX;
        mWindow->mSavedY = settings.mWindowY;
        HV_LOG(L"mWindow->SetWindowedSize()\n");
        mWindow->SetWindowedSize(settings.mOuterWidth, settings.mOuterHeight);
        HV_LOG(L"mRender->SwitchScreenMode()\n");
        result = mRender->SwitchScreenMode(settings.mRenderParam);
        if (result != HV_OK)
            return result;
        HV_LOG(L"SwitchWindowMode(true)\n");
        mWindow->SwitchWindowMode(settings.mOuterWidth, settings.mOuterHeight, true);
    }
    result = CreateRenderTarget(settings);
    if (result != HV_OK)
        return result;
    if (mWindow->mWindowed != wasWindowed)
        NotifyScreenModeListeners(mWindow->mWindowed);
    return HV_OK;
}

HVResultEnum GameApplication::OnScreenModeKey()
{
    return SwitchScreenMode();
}

bool GameApplication::WindowDoesNotFitWorkArea()
{
    const app::MonitorInfo monitor = ChooseMonitor();
    int outerWidth = 0;
    int outerHeight = 0;
    app::WindowWin32::GetWindowSizeForClient(int(mMaxLogicalWidth), int(mLogicalHeight), &outerWidth, &outerHeight);
    return outerHeight > monitor.mWorkHeight || outerWidth > monitor.mWorkWidth;
}

void GameApplication::NotifyScreenModeListeners(const bool& windowed)
{
    ScreenModeListeners::Instance()->Notify(windowed);
}

bool GameApplication::IsWindowed() const
{
    return mWindow ? mWindow->mWindowed : true;
}
} // namespace framework
