#pragma once

// The episode pages side by side, turned by dragging, flicking or the arrows.
#include "Core/Base/DelegateHandle.h"
#include "Game/Hud/HUDEpisodePage.h"

#include <vector>

namespace render
{
class Graphics;
}

class HUDPager
{
public:
    enum State
    {
        kIdle = 0,
        kDragging = 1,
        // Settling with a positive offset, then with a negative one.
        kSettlingBack = 2,
        kSettlingForward = 3,
    };

    static constexpr float kPageWidth = 320.0f;
    static constexpr float kScaleFalloff = 0.45f;
    // Beyond this distance from the centre a page keeps its smallest scale.
    static constexpr float kFalloffDistance = 120.0f;
    static constexpr float kSettleSpeed = 800.0f;
    static constexpr float kFlickTime = 0.3f;
    static constexpr float kCentreX = 512.0f;
    static constexpr float kCentreY = 384.0f;

    HUDPager() = default;
    HUDPager(const HUDPager&) = delete;
    HUDPager& operator=(const HUDPager&) = delete;
    // Deletes every page's plate.
    ~HUDPager();

    void Drag(int x, int y);
    void Release(int x, int y);
    // The settling step of a frame.
    void Settle(float dt);
    void DrawPages(render::Graphics* graphics);
    // The scale of a page drawn with its centre at x.
    static float PageScale(float x);
    float PageCentreX(int page) const;
    int PageCount() const { return int(mPages.size()); }

    void NotifyPageChanged();
    void NotifyMotionStarted();
    void NotifyMotionEnded();

    std::vector<HUDEpisodePage> mPages;
    float mLastX = 0.0f;
    float mLastY = 0.0f;
    int mCurrentPage = 0;
    float mScaleFalloff = kScaleFalloff;
    float mOffset = 0.0f;
    float mDragTime = 0.0f;
    float mPageWidth = kPageWidth;
    int mState = kIdle;
    // base::Delegate1<int, void>, then two base::Delegate0<void>.
    base::DelegateHandle mPageChanged;
    base::DelegateHandle mMotionStarted;
    base::DelegateHandle mMotionEnded;
};
