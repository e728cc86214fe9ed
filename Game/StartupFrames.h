#pragma once

// Keeps frames coming while the start-up loads, so the first logo shows at
// once and fades in as it does afterwards: between two loading steps, once a
// frame's time has passed, the frame is shown with the time gone since the
// last one.
#include <functional>

class StartupFrames
{
public:
    // Seconds on a steady clock.
    using Clock = std::function<double()>;
    using ShowFrame = std::function<void(float dt)>;

    // Often enough that no wait between frames nears 100 ms, rarely enough to
    // cost the loading little.
    static constexpr double kInterval = 0.05;

    StartupFrames(Clock clock, ShowFrame showFrame);

    // Between two loading steps; the first call shows a frame at once (dt 0).
    void Tick();
    int GetFramesShown() const { return mFramesShown; }

private:
    Clock mClock;
    ShowFrame mShowFrame;
    double mLastFrame = 0.0;
    int mFramesShown = 0;
    // A frame that loads something itself must not start another.
    bool mShowing = false;
};
