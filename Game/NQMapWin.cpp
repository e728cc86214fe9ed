// The end of a won level.
#include "Game/NQMap.h"

void NQMap::Win()
{
    mSpeed = 0.0f;
    UpdateSpeedButtons();
    mScreenState = screen::kWon;
}
