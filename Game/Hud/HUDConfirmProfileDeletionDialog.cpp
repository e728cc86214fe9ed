#include "Game/Hud/HUDConfirmProfileDeletionDialog.h"

#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQMap.h"

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
