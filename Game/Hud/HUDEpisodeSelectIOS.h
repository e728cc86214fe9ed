#pragma once

// The episode select: one page per episode with its plate, lock, star
// requirement and "new" badge; answers the page to open.
#include "Game/Hud/HUDWindow.h"

class HUDPager;
class NQFrameEntry;

class HUDEpisodeSelectIOS : public HUDWindow
{
public:
    static constexpr const wchar_t* kLayout = L"nq/episode_select";
    enum PlayFade
    {
        kPlayShown = 0,
        kPlayFadingOut = 1,
        kPlayHidden = 2,
        kPlayFadingIn = 3,
    };
    static constexpr float kFadePerSecond = 4.0f;
    // A press outside this band never starts a drag.
    static constexpr int kDragTop = 176;
    static constexpr int kDragBottom = 574;
    // The plate area a tap opens, edges included.
    static constexpr int kPlateLeft = 323;
    static constexpr int kPlateRight = 701;
    static constexpr int kPlateTop = 201;
    static constexpr int kPlateBottom = 569;
    // The pages are clipped to this rectangle (x, y, width, height).
    static constexpr float kClipRect[4] = {40.0f, 0.0f, 940.0f, 768.0f};

    HUDEpisodeSelectIOS();
    ~HUDEpisodeSelectIOS() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    void OnMouseMove(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    // The page to open, or -1; the arrows turn the pages here.
    int HitTest(int x, int y) override;

    // The page of episode number - 1.
    void AddPage(int number);
    void OnPageChanged(int page);
    void OnMotionStarted();
    void OnMotionEnded();

    HUDPager* mPager = nullptr;
    int mPlayFade = kPlayShown;
    bool mDragArmed = false;
    NQFrameEntry* mLockFrame = nullptr;
    NQFrameEntry* mNewFrame = nullptr;
};
