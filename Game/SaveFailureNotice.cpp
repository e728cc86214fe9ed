#include "Game/SaveFailureNotice.h"

#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"

namespace savefailure
{
namespace
{
// Screens a message can stand above: none of them waits for an answer, and
// each takes its own state back when the message closes.
bool IsSettled(NQScreenState state)
{
    switch (state)
    {
    case screen::kPlaying:
    case screen::kWon:
    case screen::kLost:
    case screen::kIngameMenu:
    case screen::kEpisodeSelect:
    case screen::kLevelSelect:
    case screen::kMainMenu:
    case screen::kShop:
    case screen::kProfiles:
    case screen::kGemShop:
        return true;
    default:
        return false;
    }
}
} // namespace

void TellWhenDue(NQMap& map)
{
    if (!map.mHud || !map.mProgress || !IsSettled(map.mScreenState))
        return;
    if (!map.mProgress->TakeSaveFailureNotice())
        return;
    map.mHud->ShowModalMessage(L"", LocalStrings::Instance()->Get(L"profile_save_failed"), map.mScreenState);
}
} // namespace savefailure
