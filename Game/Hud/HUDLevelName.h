#pragma once

#include "Game/Hud/HUDWindow.h"

#include <string>

// The level-name banner: the episode's name and the level line fade in, stay
// and fade out over the running level, then the banner asks to be closed.
// It lives in the root board's banner slot, not on the HUD's stack.
class HUDLevelName : public HUDWindow
{
public:
    enum Phase
    {
        kFadeIn = 0,
        kHold = 1,
        kFadeOut = 2,
    };
    static constexpr float kFadeInTime = 0.5f;
    static constexpr float kHoldTime = 2.0f;
    static constexpr float kFadeOutTime = 0.5f;
    // The title above, the level line below the view's centre.
    static constexpr float kLineOffset = 25.0f;

    // Reads the running level's episode, level and mode.
    HUDLevelName();

    void Update(float dt) override;
    void Draw(render::Graphics* graphics) override;
    // The banner's opacity in its current phase.
    float GetAlpha() const;

    std::wstring mTitle;
    std::wstring mSubtitle;
    float mTimer = kFadeInTime;
    int mPhase = kFadeIn;
};
