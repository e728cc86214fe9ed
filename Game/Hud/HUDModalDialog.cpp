#include "Game/Hud/HUDModalDialog.h"

#include "Game/Hud/HUDButtonOver.h"

#include <algorithm>

HUDModalDialog::HUDModalDialog(const std::wstring& caption, const std::wstring& message)
    : HUDModalMessage(caption, message, kNoReturnState)
{
    if (!HasButtonPair())
        return;
    mOverButtons[kAcceptButton]->mOffsetX = 0.0f;
    mOverButtons[kRefuseButton]->mVisible = 1;
}

void HUDModalDialog::OnMouseUp(int x, int y)
{
    // Only the release point counts, and only the pair's buttons answer.
    const size_t count = std::min<size_t>(mOverButtons.size(), kButtonPairSize);
    for (size_t i = 0; i < count; ++i)
    {
        if (!mOverButtons[i]->Contains(x, y))
            continue;
        if (i == kRefuseButton)
            OnRefuse();
        else
            OnAccept();
        return;
    }
}

void HUDModalDialog::OnAccept()
{
    mAlive = 0;
}

void HUDModalDialog::OnRefuse()
{
    mAlive = 0;
}
