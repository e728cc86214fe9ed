#include "Game/Hud/HUDModalMessage.h"

#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Game/Game.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/OverButtons.h"
#include "Game/Level/NQMap.h"

HUDModalMessage::HUDModalMessage(const std::wstring& caption, const std::wstring& message, int32_t returnState)
    : mReturnState(returnState)
{
    mLayer = kModalLayer;
    overbuttons::LoadOverLayout(*this, mOverButtons, kLayout);
    SetImageVisible(kInputPicture, false);
    // The callers localise both texts.
    SetText(kCaptionSlot, caption);
    SetText(kMessageSlot, message);
    // A layout with fewer folders keeps the buttons it has, visible at their places.
    if (!HasButtonPair())
    {
        HV_LOG(L"modal layout %s has %d button folders, two expected\n") % std::wstring(kLayout) %
            int(mOverButtons.size());
        return;
    }
    mOverButtons[kAcceptButton]->mOffsetX = kSingleButtonOffset;
    mOverButtons[kRefuseButton]->mVisible = 0;
}

HUDModalMessage::~HUDModalMessage()
{
    if (mReturnState != kNoReturnState)
    {
        if (NQMap* map = Game::GetMap())
            map->mScreenState = mReturnState;
    }
    for (HUDButtonOver* button : mOverButtons)
        delete button;
    mOverButtons.clear();
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
}

void HUDModalMessage::Draw(render::Graphics* graphics)
{
    overbuttons::Draw(*this, mOverButtons, graphics);
}

void HUDModalMessage::Update(float dt)
{
    overbuttons::ModalUpdate(*this, mOverButtons, dt);
}

void HUDModalMessage::OnMouseMove(int x, int y)
{
    overbuttons::ModalMouseMove(*this, mOverButtons, x, y);
}

void HUDModalMessage::OnMouseDown(int x, int y)
{
    overbuttons::MouseDown(mOverButtons, x, y);
}

void HUDModalMessage::OnMouseUp(int x, int y)
{
    overbuttons::MouseUp(mOverButtons, x, y);
}

std::wstring HUDModalMessage::Click(int x, int y)
{
    return overbuttons::Click(mOverButtons, x, y);
}
