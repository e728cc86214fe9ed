// The end of a won level.
#include "Game/Level/NQMap.h"

#include "Core/Sound/SoundSystem.h"
#include "Game/GameSounds.h"
#include "Game/Hud/LevelHud.h"
#include "Game/Level/NQLevelEconomy.h"

#include <string>

namespace
{
constexpr int32_t kWonResult = 2;
} // namespace

void NQMap::Win()
{
    mSpeed = 0.0f;
    UpdateSpeedButtons();
    mPendingResult = kWonResult;

    BankDrops();

    mScreenState = screen::kWon;
    // No hint outlives its level: it would lie over the result and follow into the shop.
    LevelTutorial::Get()->ClearHints();
    SoundSystem::Instance()->PlayMusic(std::wstring());
    PlaySoundTag(L"winSound");

    if (!mHud)
        return; // no front end to show the result
    mHud->ShowLevelResult(true, mEpisode, mLevel, mMode, mEconomy->mGemsGained);
}
