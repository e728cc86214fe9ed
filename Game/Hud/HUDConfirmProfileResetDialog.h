#pragma once

// The question whether to reset the current profile; it lives in the root
// board's confirmation slot, not on the HUD's stack.
#include "Game/Hud/HUDWindow.h"

class HUDConfirmProfileResetDialog : public HUDWindow
{
public:
    static constexpr const wchar_t* kCaption = L"profile_reset_caption";
    static constexpr const wchar_t* kMessage = L"profile_reset_message";

    HUDConfirmProfileResetDialog();
    ~HUDConfirmProfileResetDialog() override;

    // The profile starts over: its progress, the economy's gems and the main menu.
    void Accept();
    void Refuse();
};
