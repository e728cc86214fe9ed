// The end of a won level.
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
constexpr int32_t kWonResult = 2;
} // namespace

void NQMap::Win()
{
    mSpeed = 0.0f;
    UpdateSpeedButtons();
    mPendingResult = kWonResult;

    // Gems still lying on the map are the player's.
    int32_t uncollected = 0;
    if (mDrops)
    {
        for (const NQTowerSpecial* drop : *mDrops)
            if (drop->mState != NQTowerSpecial::kCollected)
                ++uncollected;
        for (NQTowerSpecial* drop : *mDrops)
            delete drop;
        mDrops->clear();
    }
    mEconomy->AddGems(uncollected);

    mScreenState = screen::kWon;
    // No hint outlives its level: it would lie over the result and follow into the shop.
    NQTutorial::Instance()->ClearHints();
    SoundSystem::Instance()->PlayMusic(std::wstring());
    PlaySoundTag(L"winSound");

    if (!mHud)
        return; // no front end to show the result
    auto* window = new HUDLevelResultWindow;
    mHud->PushWindow(window);
    window->SetImageVisible(L"back_lose", false);
    window->SetImageVisible(L"diffictly_lose", false);
    window->SetImageVisible(L"defeat_label", false);
    window->SetImageVisible(L"victory_label", false);
    window->SetText(L"levelResult", LocalText(L"game_win"));
    SetLevelResultHeading(*window, mEpisode, mLevel, mMode);
    SetLevelResultTexts(*window, mMode, mEconomy->mGemsGained);
}
