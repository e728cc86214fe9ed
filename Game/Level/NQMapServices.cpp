#include "Game/Level/NQMapServices.h"

#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Game.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Units/NQEnemy.h"

NQMapServices::NQMapServices(NQMap* map) : mMap(map)
{
}

int NQMapServices::GetMode()
{
    return mMap->mMode;
}

void NQMapServices::SetMode(int mode)
{
    mMap->mMode = mode;
}

int NQMapServices::GetDefaultGems()
{
    return mMap->mDefaultGems;
}

void NQMapServices::SetEconomyGems(int gems)
{
    if (mMap->mEconomy)
        mMap->mEconomy->mGems = gems;
}

int NQMapServices::GetEpisodeCount()
{
    return mMap->GetEpisodeCount();
}

int NQMapServices::GetLevelCount(int episode)
{
    return mMap->GetLevelCount(episode);
}

int NQMapServices::GetHardcoreLevelCount(int episode)
{
    return mMap->GetHardcoreLevelCount(episode);
}

bool NQMapServices::IsEpisodeOpen(int episode)
{
    return mMap->IsEpisodeOpen(episode);
}

std::vector<int> NQMapServices::GetUpgradeIds()
{
    std::vector<int> ids;
    if (mMap->mUpgradeTable == nullptr)
        return ids;
    for (const NQUpgrade* upgrade : mMap->mUpgradeTable->mUpgrades)
        ids.push_back(upgrade->id);
    return ids;
}

int NQMapServices::GetUpgradeStepCount(int id)
{
    if (mMap->mUpgradeTable == nullptr)
        return -1;
    for (const NQUpgrade* upgrade : mMap->mUpgradeTable->mUpgrades)
    {
        if (upgrade->id == id)
            return static_cast<int>(upgrade->steps.size());
    }
    return -1;
}

NQTutorial* NQMapServices::Tutorial()
{
    if (NQTutorial* tutorial = NQTutorial::Find())
        return tutorial;
    // The tutorial reads the level's progress record and HUD when it is made:
    // not before the level has both. Made later, it reads the player itself.
    if (!mMap->mProgress || !mMap->mHud)
        return nullptr;
    return NQTutorial::Instance();
}

void NQMapServices::ReloadTutorial()
{
    if (NQTutorial* tutorial = Tutorial())
        tutorial->ReloadState();
}

void NQMapServices::SetTutorialEnabled(bool enabled)
{
    if (NQTutorial* tutorial = Tutorial())
        tutorial->SetEnabled(enabled);
}

bool NQMapServices::IsFullscreen()
{
    // Before the window exists the framework counts as windowed.
    const Game* game = Game::Get();
    return game && !game->IsWindowed();
}

void NQMapServices::SwitchScreenMode()
{
    if (Game* game = Game::Get())
        game->SwitchScreenMode();
}

NQGameServices::ViewRect NQMapServices::GetViewRect()
{
    return {mMap->mViewportX, mMap->mViewportY, mMap->mViewportWidth, mMap->mViewportHeight};
}

void NQMapServices::AppendDrawFrame(NQFrameEntry* entry)
{
    if (!entry)
        return;
    mMap->mDrawQueues[0].push_back(entry);
}

bool NQMapServices::GetEnemyDrawPosition(const NQEnemy* enemy, float& x, float& y)
{
    if (!enemy)
        return false;
    x = enemy->mDrawX;
    y = enemy->mDrawY;
    return true;
}
