#pragma once

// The window shown when a level ends, won or lost: its result, the gems
// earned and the way on.
#include "Game/Hud/HUDWindow.h"

class HUDLevelResultWindow : public HUDWindow
{
public:
    // No layout yet; the result and its storing come with the window's screen.
    HUDLevelResultWindow();
    ~HUDLevelResultWindow() override;
};
