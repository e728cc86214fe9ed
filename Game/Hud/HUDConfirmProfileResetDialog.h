#pragma once

// Asks before the current profile starts over; opened as the game window's
// confirmation overlay.
#include "Game/Hud/HUDModalDialog.h"

class HUDConfirmProfileResetDialog : public HUDModalDialog
{
public:
    static constexpr const wchar_t* kCaption = L"profile_reset_caption";
    static constexpr const wchar_t* kMessage = L"profile_reset_message";

    HUDConfirmProfileResetDialog();

    // The profile's progress goes, the main menu opens and the level's gems are zeroed.
    void OnAccept() override;
};
