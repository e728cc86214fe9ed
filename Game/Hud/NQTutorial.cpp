#include "Game/Hud/NQTutorial.h"

#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/NQMap.h"

void InstallTutorialInstance(NQTutorial* tutorial)
{
    NQTutorial::sInstance = tutorial;
}

NQTutorial::NQTutorial() = default;

NQTutorial::~NQTutorial() = default;

NQTutorial* NQTutorial::Instance()
{
    return base::Singletone<NQTutorial>::Instance();
}

void NQTutorial::OnEvent(const std::wstring&)
{
}

void NQTutorial::OnMouseMove(int, int)
{
}

void NQTutorial::OnMouseUp(int, int)
{
}

void NQTutorial::Show()
{
}

void NQTutorial::Hide()
{
}

void NQTutorial::ClearHints()
{
}

void NQTutorial::Update(float dt)
{
    mLastUpdateDt = dt;
}

void NQTutorial::ResetUnfinishedSteps()
{
    NQMap* map = Game::GetMap();
    if (!map)
        return; // nothing running to undo
    map->mDropChanceOverride = 0.0f;
    map->mTutorialSpotFilter = -1;
    if (map->mHud)
    {
        map->mHud->mBlockShop = 0;
        map->mHud->mBlockUI = 0;
    }
}

void NQTutorial::ReloadState()
{
}

void NQTutorial::SetEnabled(bool)
{
}

namespace game::testing
{
bool InstallTutorial(NQTutorial* tutorial)
{
    if (NQTutorial::Find())
        return false;
    InstallTutorialInstance(tutorial);
    return true;
}
} // namespace game::testing
