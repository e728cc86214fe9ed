// Defeat and the in-game menu's confirmations.
#include "Game/Level/NQMap.h"

#include "Core/Sound/SoundSystem.h"
#include "Game/Data/LocalStrings.h"
#include "Game/GameSounds.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/LevelResultTexts.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Units/NQTowerSpecial.h"

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

    // Gems still lying on the map are the player's.
    int32_t uncollected = 0;
    if (mDrops)
    {
        for (const NQTowerSpecial* drop : *mDrops)
            if (drop->mState != NQTowerSpecial::kCollected)
                ++uncollected;
    }
    mEconomy->AddGems(uncollected);
    if (mDrops)
    {
        for (NQTowerSpecial* drop : *mDrops)
            delete drop;
        mDrops->clear();
    }

    mScreenState = screen::kLost;
    // No hint outlives its level: it would lie over the result and follow into the shop.
    NQTutorial::Instance()->ClearHints();
    SoundSystem::Instance()->PlayMusic(std::wstring());
    PlaySoundTag(L"loseSound");

    if (!mHud)
        return;
    auto* window = new HUDLevelResultWindow;
    mHud->PushWindow(window);
    window->SetImageVisible(L"back_win", false);
    window->SetImageVisible(L"diffictly", false);
    window->SetImageVisible(L"victory_label", false);
    window->SetImageVisible(L"diffictly_lose", true);
    window->SetImageVisible(L"defeat_label", false);
    window->SetImageVisible(L"star0", false);
    window->SetImageVisible(L"star1", false);
    window->SetImageVisible(L"star2", false);
    window->SetText(L"levelResult", LocalText(L"game_lose"));
    // The same heading as a won level's: its name, in the same font.
    SetLevelResultHeading(*window, mEpisode, mLevel, mMode);
    SetLevelResultTexts(*window, mMode, mEconomy->mGemsGained);
}

void NQMap::OnResultCommand(const std::wstring& action)
{
    if (!mHud)
        return;
    // Leaving the level: its hints go with it.
    if (action == L"mmenu" || action == L"levels")
        NQTutorial::Instance()->ClearHints();
    if (action == L"restart")
    {
        mHud->CloseTopWindow();
        ResetLevel();
        mHud->mBackdropState = HUD::kBackdropOff;
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
