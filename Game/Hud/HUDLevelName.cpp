#include "Game/Hud/HUDLevelName.h"

HUDLevelName::HUDLevelName() = default;

void HUDLevelName::Update(float dt)
{
    HUDWindow::Update(dt);
    if (mTime >= kDuration)
        mAlive = 0;
}
