#include "Game/Hud/HUDButton.h"

#include "Game/Game.h"
#include "Game/GameWindow.h"

#include <algorithm>

HUDButton::HUDButton()
{
    // No root board for a button built by a test without a game.
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        mFont = game->GetRootBoard()->GetFont(GameWindow::kFontMain32_1);
}

HUDButton::~HUDButton() { mFont.Reset(); }

void HUDButton::Draw(render::Graphics*) {}

void HUDButton::Update(float dt) { mTimer += dt; }

bool HUDButton::AcceptsClick(int, int) { return false; }

bool HUDButton::Contains(int, int) { return false; }

void HUDButton::OnMouseDown(int, int) {}

void HUDButton::OnMouseUp(int, int) {}

void HUDButton::OnMouseMove(int, int) {}

void HUDButton::AnimateHover(float dt, float growPerSecond, float shrinkPerSecond)
{
    if (mHovered)
        mScale = std::min(mScale + growPerSecond * dt, kMaxScale);
    else
        mScale = std::max(mScale - shrinkPerSecond * dt, kRestScale);
}
