#include "Game/Hud/HUDWindow.h"

#include "Core/Base/DeleteAll.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/NQButtonFrame.h"

HUDWindow::HUDWindow()
{
    // No root board for a window built by a test without a game.
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        mFont = game->GetRootBoard()->GetFont(GameWindow::kFontNormal);
}

HUDWindow::~HUDWindow()
{
    for (auto& slot : mTextSlots)
        delete slot.second;
    mTextSlots.clear();
    for (NQButtonFrame* button : mButtons)
        delete button;
    mButtons.clear();
    base::DeleteAll(mImages);
}

void HUDWindow::Draw(render::Graphics*)
{
}

void HUDWindow::Update(float dt)
{
    mTime += dt;
}

void HUDWindow::Refresh()
{
}

void HUDWindow::Reserved()
{
}

void HUDWindow::OnClose()
{
}

void HUDWindow::OnMouseMove(int x, int y)
{
    mPointerX = float(x);
    mPointerY = float(y);
}

void HUDWindow::OnMouseUp(int, int)
{
}

void HUDWindow::OnMouseDown(int, int)
{
}

void HUDWindow::OnMouseWheel(int)
{
}

void HUDWindow::OnChar(int)
{
}

void HUDWindow::OnKeyDown(int)
{
}

int HUDWindow::HitTest(int, int)
{
    return -1;
}

std::wstring HUDWindow::Click(int, int)
{
    return {};
}

NQButtonFrame* HUDWindow::FindButton(const std::wstring& name) const
{
    for (NQButtonFrame* button : mButtons)
    {
        if (button->mName == name)
            return button;
    }
    return nullptr;
}

void HUDWindow::SetText(const std::wstring& slot, const std::wstring& text)
{
    for (auto& pair : mTexts)
    {
        if (pair.first == slot)
        {
            pair.second = text;
            return;
        }
    }
    mTexts.emplace_back(slot, text);
}

void HUDWindow::SetImageVisible(const std::wstring& name, bool shown)
{
    for (NQFrameEntry* image : mImages)
    {
        if (image->mName == name)
            image->mShown = shown ? 1 : 0;
    }
}

void HUDWindow::SetFont(const resource::ResourceHandle<render::BMFont>& font)
{
    mFont = font;
}
