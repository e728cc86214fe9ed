#include "RecordingTutorial.h"

#include "CallLog.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"

namespace gametest
{
RecordingTutorial* RecordingTutorial::Install()
{
    auto* tutorial = new RecordingTutorial;
    if (!game::testing::InstallTutorial(tutorial))
        return nullptr; // one exists: the registry deletes this one at the teardown
    return tutorial;
}

void RecordingTutorial::OnEvent(const std::wstring& name)
{
    LogCall("Tutorial.OnEvent " + Narrow(name));
    events.push_back(name);
}

void RecordingTutorial::OnMouseMove(int x, int y)
{
    LogCall("Tutorial.OnMouseMove " + std::to_string(x) + "," + std::to_string(y));
}

void RecordingTutorial::OnMouseUp(int x, int y)
{
    LogCall("Tutorial.OnMouseUp " + std::to_string(x) + "," + std::to_string(y));
}

void RecordingTutorial::Show()
{
    LogCall("Tutorial.Show");
}

void RecordingTutorial::Hide()
{
    LogCall("Tutorial.Hide");
}

void RecordingTutorial::ClearHints()
{
    LogCall("Tutorial.ClearHints");
}

void RecordingTutorial::ResetUnfinishedSteps()
{
    LogCall("Tutorial.ResetUnfinishedSteps");
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    map->mDropChanceOverride = 0.0f;
    map->mTutorialSpotFilter = -1;
    if (map->mHud)
    {
        map->mHud->mBlockShop = 0;
        map->mHud->mBlockUI = 0;
    }
}

void RecordingTutorial::ReloadState()
{
    LogCall("Tutorial.ReloadState");
}

void RecordingTutorial::SetEnabled(bool value)
{
    LogCall(std::string("Tutorial.SetEnabled ") + (value ? "1" : "0"));
    enabled = value;
}
} // namespace gametest
