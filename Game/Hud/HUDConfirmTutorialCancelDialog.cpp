#include "Game/Hud/HUDConfirmTutorialCancelDialog.h"

#include "Game/Data/LocalStrings.h"
#include "Game/Hud/NQTutorial.h"

HUDConfirmTutorialCancelDialog::HUDConfirmTutorialCancelDialog()
    : HUDModalDialog(LocalStrings::Instance()->Get(L"tutorial_skip_caption"),
                     LocalStrings::Instance()->Get(L"tutorial_skip_message"))
{
}

void HUDConfirmTutorialCancelDialog::OnAccept()
{
    mAlive = 0;
    NQTutorial* tutorial = NQTutorial::Instance();
    tutorial->mSkipQuestion = 0;
    tutorial->Disable();
    tutorial->ClearHints();
}

void HUDConfirmTutorialCancelDialog::OnRefuse()
{
    mAlive = 0;
    NQTutorial* tutorial = NQTutorial::Instance();
    tutorial->mSkipQuestion = 0;
    tutorial->mVisible = 1;
}
