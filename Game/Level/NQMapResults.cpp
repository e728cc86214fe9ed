// Defeat and the in-game menu's confirmations.
#include "Game/Level/NQMap.h"

#include "Core/Sound/SoundSystem.h"
#include "Game/GameSounds.h"
#include "Game/Hud/LevelHud.h"
#include "Game/Level/NQLevelEconomy.h"

#include <string>

namespace
{
constexpr int32_t kLostResult = 1;
} // namespace

void NQMap::Lose()
{
    mSpeed = 0.0f;
    UpdateSpeedButtons();
    mPendingResult = kLostResult;

    BankDrops();

    mScreenState = screen::kLost;
    // No hint outlives its level: it would lie over the result and follow into the shop.
    LevelTutorial::Get()->ClearHints();
    SoundSystem::Instance()->PlayMusic(std::wstring());
    PlaySoundTag(L"loseSound");

    if (!mHud)
        return;
    mHud->ShowLevelResult(false, mEpisode, mLevel, mMode, mEconomy->mGemsGained);
}

void NQMap::OnResultCommand(const std::wstring& action)
{
    if (!mHud)
        return;
    // Leaving the level: its hints go with it.
    if (action == L"mmenu" || action == L"levels")
        LevelTutorial::Get()->ClearHints();
    if (action == L"restart")
    {
        mHud->CloseTopWindow();
        ResetLevel();
        mHud->SetBackdropState(LevelHud::kBackdropOff);
    }
    else if (action == L"mmenu")
    {
        mHud->CloseTopWindow();
        mHud->ShowMainMenu();
    }
    else if (action == L"levels")
    {
        mHud->CloseTopWindow();
        mHud->ShowLevelSelect();
    }
}
