#include "Game/Hud/HUDConfirmProfileResetDialog.h"

#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

HUDConfirmProfileResetDialog::HUDConfirmProfileResetDialog()
    : HUDModalDialog(LocalStrings::Instance()->Get(kCaption), LocalStrings::Instance()->Get(kMessage))
{
}

void HUDConfirmProfileResetDialog::OnAccept()
{
    mAlive = 0;
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    if (map->mHud)
        map->mHud->CloseTopWindow();
    if (map->mProgress)
        map->mProgress->ResetCurrentProfile();
    if (map->mHud)
        map->mHud->ShowMainMenu();
    if (map->mEconomy)
    {
        map->mEconomy->Reset();
        map->mEconomy->mGemsGained = 0;
        map->mEconomy->mGems = 0;
    }
}
