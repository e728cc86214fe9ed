#include "Game/Hud/TMessageBox.h"

#include "Game/Game.h"
#include "Game/NQMap.h"

TMessageBox::TMessageBox(const std::wstring& messageKey, const std::wstring& action)
    : mMessageKey(messageKey)
    , mAction(action)
{
}

TMessageBox::~TMessageBox() = default;

HVResultEnum TMessageBox::Load()
{
    return HV_OK;
}

void TMessageBox::Confirm()
{
    // Close alone would leave the closed frame undeleted.
    Hide(true);
    if (NQMap* map = Game::GetMap())
        map->OnResultCommand(mAction);
}
