#include "Game/Hud/HUDIngameMenu.h"

#include "Core/Base/DeleteAll.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/OverButtons.h"

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
    for (const NQFrameEntry* image : mImages)
    {
        if (image->mName == overbuttons::kMenuIcon)
            DrawImage(graphics, *image);
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
