#include "Game/Hud/HUD.h"

#include "Core/Base/DeleteAll.h"
#include "Game/Game.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/NQFrameEntry.h"
#include "Game/NQMap.h"
#include "Game/NQSpriteAnimation.h"

namespace
{
// Show operations write into the running level; none while it is being built.
void SetScreenState(NQScreenState state)
{
    if (NQMap* map = Game::GetMap())
        map->mScreenState = state;
}
} // namespace

HUD::HUD() = default;

HUD::~HUD()
{
    base::DeleteAll(mPendingWindows);
    base::DeleteAll(mWindows);
    base::DeleteAll(mSpellButtons);
    delete mSpellCursor;
    mSpellCursor = nullptr;
    base::DeleteAll(mSpellSlots);
}

void HUD::Draw(render::Graphics*)
{
}

void HUD::Update(float dt)
{
    HUDWindow::Update(dt);
    mWindows.insert(mWindows.end(), mPendingWindows.begin(), mPendingWindows.end());
    mPendingWindows.clear();
}

void HUD::OnMouseMove(int x, int y)
{
    HUDWindow::OnMouseMove(x, y);
    if (HUDWindow* top = GetTopWindow())
        top->OnMouseMove(x, y);
}

void HUD::OnMouseUp(int x, int y)
{
    if (HUDWindow* top = GetTopWindow())
        top->OnMouseUp(x, y);
}

void HUD::OnMouseDown(int x, int y)
{
    if (HUDWindow* top = GetTopWindow())
        top->OnMouseDown(x, y);
}

void HUD::OnMouseWheel(int delta)
{
    for (HUDWindow* window : mWindows)
        window->OnMouseWheel(delta);
}

void HUD::OnChar(int character)
{
    for (HUDWindow* window : mWindows)
        window->OnChar(character);
}

void HUD::OnKeyDown(int key)
{
    for (HUDWindow* window : mWindows)
        window->OnKeyDown(key);
}

int HUD::HitTest(int, int)
{
    return -1;
}

std::wstring HUD::Click(int, int)
{
    return {};
}

void HUD::AddSpellButton(int32_t)
{
}

void HUD::PushWindow(HUDWindow* window)
{
    if (!window)
        return;
    if (mWindows.empty())
        mBackdropState = kBackdropFadingIn;
    mPendingWindows.push_back(window);
}

void HUD::CloseTopWindow()
{
    if (mWindows.empty())
        return;
    HUDWindow* top = mWindows.back();
    mWindows.pop_back();
    delete top;
}

void HUD::RefreshTopWindow()
{
    if (HUDWindow* top = GetTopWindow())
        top->Refresh();
}

void HUD::DrawWindows(render::Graphics*, int)
{
}

void HUD::ResetSpellCooldowns()
{
    for (HUDSpellButton* button : mSpellButtons)
    {
        button->mCooldown = 0.0f;
        button->mCooling = false;
    }
}

void HUD::NextLevel()
{
}

void HUD::UpdateGoldText()
{
}

void HUD::UpdateGemsText()
{
}

void HUD::UpdateLivesText()
{
}

void HUD::UpdateWavesText()
{
}

void HUD::ShowSplashScreens()
{
    SetScreenState(screen::kSplashScreens);
}

void HUD::ShowVideoIntro()
{
    SetScreenState(screen::kIntroVideo);
}

void HUD::ShowMainMenu()
{
    SetScreenState(screen::kMainMenu);
}

void HUD::ShowProfiles()
{
    SetScreenState(screen::kProfiles);
    if (NQMap* map = Game::GetMap())
        map->mCurrentMenu.clear();
}

void HUD::ShowModalInput()
{
}

void HUD::ShowEpisodeSelect()
{
    SetScreenState(screen::kEpisodeSelect);
}

void HUD::ShowLevelSelect()
{
    SetScreenState(screen::kLevelSelect);
}

void HUD::ShowShop(bool)
{
    SetScreenState(screen::kShop);
}

void HUD::ShowGemShop(const std::wstring&)
{
    SetScreenState(screen::kGemShop);
}

void HUD::ShowUnlockMessage(const std::vector<int32_t>&)
{
    SetScreenState(screen::kUnlockMessage);
    if (NQMap* map = Game::GetMap())
        map->mSpeed = 0.0f;
}

void HUD::ShowModalMessage(const std::wstring&, const std::wstring&, int32_t returnState)
{
    SetScreenState(screen::kModalMessage);
    if (NQMap* map = Game::GetMap())
        map->mPendingDialog = returnState;
}

void HUD::ShowModalDialog(const std::wstring&, const std::wstring&, int32_t dialogId)
{
    SetScreenState(screen::kModalMessage);
    if (NQMap* map = Game::GetMap())
        map->mPendingDialog = dialogId;
}
