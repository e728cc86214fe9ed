#include "Game/NQLevelEconomy.h"

#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/NQMap.h"
#include "Game/NQProgress.h"

void NQLevelEconomy::AddGems(int32_t n)
{
    mGems += n;
    mGemsGained += n;
    NQMap* map = Game::GetMap();
    if (!map)
        return; // no running level to show or store it
    if (map->mHud)
        map->mHud->UpdateGemsText();
    if (map->mProgress)
        map->mProgress->SetGems(mGems);
}

void NQLevelEconomy::AddGold(int32_t n)
{
    mGold += n;
    NQMap* map = Game::GetMap();
    if (map && map->mHud)
        map->mHud->UpdateGoldText();
}

void NQLevelEconomy::Reset()
{
    mShownGold = 0;
    mKillScore = 0;
    mComboBonus = 0;
    mGemsGained = 0;
    mGold = 0;
    mComboCount = 0;
}
