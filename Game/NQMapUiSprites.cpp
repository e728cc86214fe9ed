// The interface pictures of the level.
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/NQMap.h"
#include "Game/NQWaveHintStrip.h"

void NQMap::LoadUiSprites()
{
    if (!mWaveHints)
        mWaveHints = new NQWaveHintStrip;
    if (!mFloatingIcons)
        mFloatingIcons = new NQFloatingIcons;
}
