#pragma once

// Asks whether to switch the tutorial off for good; opened by the skip button
// as the game window's confirmation overlay.
#include "Game/Hud/HUDModalDialog.h"

class HUDConfirmTutorialCancelDialog : public HUDModalDialog
{
public:
    HUDConfirmTutorialCancelDialog();

    // The tutorial off for this player, its hints gone.
    void OnAccept() override;
    // The skip button takes input again; the hints never left.
    void OnRefuse() override;
};
