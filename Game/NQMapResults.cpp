// Defeat, goal leaks and result commands.
#include "Game/NQMap.h"

void NQMap::Lose()
{
    mSpeed = 0.0f;
    UpdateSpeedButtons();
    mScreenState = screen::kLost;
}
