#pragma once

#include "Game/Hud/HUDWindow.h"

// The level-name banner: shown for its fade in, hold and fade out, then it
// asks to be closed.
class HUDLevelName : public HUDWindow
{
public:
    static constexpr float kDuration = 3.0f;

    HUDLevelName();
    void Update(float dt) override;
};
