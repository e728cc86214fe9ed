#include "Game/Hud/HUDConfirmProfileDeletionDialog.h"

#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/LocalStrings.h"
#include "Game/NQMap.h"
#include "Game/NQProgress.h"

HUDConfirmProfileDeletionDialog::HUDConfirmProfileDeletionDialog()
    : HUDModalDialog(LocalStrings::Instance()->Get(L"profile_delete_caption"),
                     LocalStrings::Instance()->Get(L"profile_delete_message"))
{
}

void HUDConfirmProfileDeletionDialog::OnAccept()
{
    mAlive = 0;
    NQMap* map = Game::GetMap();
    if (!map)
        return;
    if (map->mProgress)
        map->mProgress->DeleteProfile();
    if (map->mHud)
        map->mHud->RefreshTopWindow();
}
