#pragma once

// The modal message with two buttons, refuse and accept, answered on release.
#include "Game/Hud/HUDModalMessage.h"

class HUDModalDialog : public HUDModalMessage
{
public:
    HUDModalDialog(const std::wstring& caption, const std::wstring& message);

    // The first button containing the release point answers; no other button does.
    void OnMouseUp(int x, int y) override;
    // Both close the dialog by default.
    virtual void OnAccept();
    virtual void OnRefuse();
};
