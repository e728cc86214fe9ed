#include "Game/StartupFrames.h"

StartupFrames::StartupFrames(Clock clock, ShowFrame showFrame)
    : mClock(std::move(clock)), mShowFrame(std::move(showFrame))
{
}

void StartupFrames::Tick()
{
    if (mShowing)
        return;
    const double now = mClock();
    if (mFramesShown > 0 && now - mLastFrame < kInterval)
        return;
    const float dt = mFramesShown > 0 ? float(now - mLastFrame) : 0.0f;
    mLastFrame = now;
    ++mFramesShown;
    mShowing = true;
    mShowFrame(dt);
    mShowing = false;
}
