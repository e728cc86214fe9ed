#pragma once

#include "Game/Hud/HUDWindow.h"

// The pause menu over the running level.
class HUDIngameMenu : public HUDWindow
{
public:
    HUDIngameMenu();
};
