#include "Game/Hud/HUDIngameMenu.h"

#include "Core/Base/DeleteAll.h"
#include "Core/File/ImageContainer.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/Graphics.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/OverButtons.h"
#include "Game/LocalStrings.h"
#include "Game/NQFrameEntry.h"
#include "Game/NQGameServices.h"

#include <algorithm>

HUDIngameMenu::HUDIngameMenu()
{
    LoadOverLayout(kLayout);
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        SetFont(game->GetRootBoard()->GetFont(GameWindow::kFontLarge));
    SetText(kCaptionSlot, LocalStrings::Instance()->Get(L"ingame_caption"));
    SortImages();
}

HUDIngameMenu::~HUDIngameMenu()
{
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
    base::DeleteAll(mOverButtons);
}

void HUDIngameMenu::LoadOverLayout(const std::wstring& name)
{
    overbuttons::LoadOverLayout(*this, mOverButtons, name, overbuttons::kIngameMenuForm);
}

void HUDIngameMenu::Draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    overbuttons::Draw(*this, mOverButtons, graphics);
    // The icon lies above the buttons whatever its place in the layout.
    const NQGameServices::ViewRect view = NQGameServices::Get()->GetViewRect();
    const float centreX = view.x + view.width / 2.0f;
    const float centreY = view.y + view.height / 2.0f;
    for (const NQFrameEntry* image : mImages)
    {
        if (image->mName != overbuttons::kMenuIcon || !image->mPicture)
            continue;
        const float px = image->mRect[0] + mOffsetX;
        const float py = image->mRect[1] + mOffsetY;
        math::Transform2D transform;
        transform.Scale(mScale, mScale);
        transform.Translate(centreX + (px - centreX) * mScale, centreY + (py - centreY) * mScale);
        auto record = graphics->DrawImage(*image->mPicture).Transform(transform);
    }
}

void HUDIngameMenu::Update(float dt)
{
    HUDWindow::Update(dt);
    for (HUDButtonOver* button : mOverButtons)
        button->Update(dt);
}

void HUDIngameMenu::OnMouseMove(int x, int y)
{
    overbuttons::ModalMouseMove(*this, mOverButtons, x, y);
}

void HUDIngameMenu::OnMouseUp(int x, int y)
{
    overbuttons::MouseUp(mOverButtons, x, y);
}

void HUDIngameMenu::OnMouseDown(int x, int y)
{
    overbuttons::MouseDown(mOverButtons, x, y);
}

std::wstring HUDIngameMenu::Click(int x, int y)
{
    return overbuttons::Click(mOverButtons, x, y);
}
