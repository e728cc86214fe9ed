#pragma once

// Asks before the current profile is deleted; opened as the game window's
// confirmation overlay.
#include "Game/Hud/HUDModalDialog.h"

class HUDConfirmProfileDeletionDialog : public HUDModalDialog
{
public:
    HUDConfirmProfileDeletionDialog();

    void OnAccept() override;
};
