#include "Game/Hud/OverButtons.h"

#include "Core/Base/LogMessage.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Sound/SoundTags.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDWindow.h"

namespace overbuttons
{
namespace
{
const wchar_t* const kClickSound = L"simple";

GameWindow* RootBoard()
{
    Game* game = Game::Get();
    return game ? game->GetRootBoard() : nullptr;
}
} // namespace

void LoadOverLayout(HUDWindow& window, std::vector<HUDButtonOver*>& buttons, const std::wstring& layout,
                    const LayoutForm& form)
{
    delete window.mLayoutContainer;
    window.mLayoutContainer = file::FileManager::Instance()->OpenImageContainer(layout);
    file::ImageContainer* container = window.mLayoutContainer;
    if (!container)
    {
        HV_LOG(L"window layout %s cannot be opened\n") % layout;
        return;
    }
    window.LoadImagesAndTexts(container);
    window.SortImages();
    if (form.hideMenuIcon)
        window.SetImageVisible(kMenuIcon, false);

    GameWindow* board = RootBoard();
    std::vector<std::wstring> folders;
    container->ListGroups(L"button", folders, true);
    for (const std::wstring& folder : folders)
    {
        auto* button = new HUDButtonOver(container, folder);
        button->mLabel = LocalStrings::Instance()->Get(folder);
        const bool large = form.allLabelsLarge || folder == kLargeLabelFolder;
        if (board)
            button->mFont = board->GetFont(large ? GameWindow::kFontLarge : GameWindow::kFontNormal);
        buttons.push_back(button);
    }
}

void Draw(HUDWindow& window, const std::vector<HUDButtonOver*>& buttons, render::Graphics* graphics)
{
    window.HUDWindow::Draw(graphics);
    for (HUDButtonOver* button : buttons)
        button->Draw(graphics);
}

std::wstring Click(const std::vector<HUDButtonOver*>& buttons, int x, int y)
{
    for (HUDButtonOver* button : buttons)
    {
        if (!button->Contains(x, y))
            continue;
        std::wstring name = button->mName;
        k2::SoundTags::Instance()->Play(kClickSound);
        return name;
    }
    return {};
}

void MouseMove(const std::vector<HUDButtonOver*>& buttons, int x, int y)
{
    for (HUDButtonOver* button : buttons)
        button->OnMouseMove(x, y);
}

void ModalMouseMove(HUDWindow& window, const std::vector<HUDButtonOver*>& buttons, int x, int y)
{
    window.HUDWindow::OnMouseMove(x, y);
    MouseMove(buttons, x, y);
}

void MouseDown(const std::vector<HUDButtonOver*>& buttons, int x, int y)
{
    for (HUDButtonOver* button : buttons)
        button->OnMouseDown(x, y);
}

void MouseUp(const std::vector<HUDButtonOver*>& buttons, int x, int y)
{
    for (HUDButtonOver* button : buttons)
        button->OnMouseUp(x, y);
}

void ModalUpdate(HUDWindow& window, const std::vector<HUDButtonOver*>& buttons, float dt)
{
    window.HUDWindow::Update(dt);
    if (GameWindow* board = RootBoard())
    {
        window.mPointerX = float(board->GetPointerX());
        window.mPointerY = float(board->GetPointerY());
    }
    for (HUDButtonOver* button : buttons)
        button->Update(dt);
}
} // namespace overbuttons
