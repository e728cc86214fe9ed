// The screens and dialogs the level opens through its face.
#include "Framework/GameApplication.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDIngameMenu.h"
#include "Game/Hud/HUDLevelName.h"
#include "Game/Hud/HUDLevelResultWindow.h"
#include "Game/Hud/LevelResultTexts.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Data/LocalStrings.h"

namespace
{
// Loaded and pushed on the application's frame manager; a level without a
// running application (built by a test) shows no dialog.
void PushDialog(widget::Dialog* dialog)
{
    framework::GameApplication* application = framework::GameApplication::Current();
    if (!application || !application->mFrameManager)
    {
        delete dialog;
        return;
    }
    dialog->Load();
    application->mFrameManager->PushDialog(dialog, true);
}
} // namespace

void HUD::ShowIngameMenu()
{
    PushWindow(new HUDIngameMenu);
}

void HUD::ShowLevelName()
{
    Game* game = Game::Get();
    if (game && game->GetRootBoard())
        game->GetRootBoard()->SetBannerOverlay(new HUDLevelName);
}

void HUD::ShowLevelResult(bool won, int32_t episode, int32_t level, int32_t mode, int32_t gemsGained)
{
    auto* window = new HUDLevelResultWindow;
    PushWindow(window);
    if (won)
    {
        window->SetImageVisible(L"back_lose", false);
        window->SetImageVisible(L"diffictly_lose", false);
        window->SetImageVisible(L"defeat_label", false);
        window->SetImageVisible(L"victory_label", false);
        window->SetText(L"levelResult", LocalText(L"game_win"));
    }
    else
    {
        window->SetImageVisible(L"back_win", false);
        window->SetImageVisible(L"diffictly", false);
        window->SetImageVisible(L"victory_label", false);
        window->SetImageVisible(L"diffictly_lose", true);
        window->SetImageVisible(L"defeat_label", false);
        window->SetImageVisible(L"star0", false);
        window->SetImageVisible(L"star1", false);
        window->SetImageVisible(L"star2", false);
        window->SetText(L"levelResult", LocalText(L"game_lose"));
    }
    // A lost level's heading is a won one's: its name, in the same font.
    SetLevelResultHeading(*window, episode, level, mode);
    SetLevelResultTexts(*window, mode, gemsGained);
}

void HUD::ShowOptionsDialog()
{
    PushDialog(new OptionsDialog);
}

void HUD::ShowMessageBox(const std::wstring& messageKey, const std::wstring& action)
{
    PushDialog(new TMessageBox(messageKey, action));
}
