#include "RecordingHud.h"

#include "CallLog.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"

#include <string>

namespace gametest
{
namespace
{
void SetState(NQScreenState state)
{
    if (NQMap* map = Game::GetMap())
        map->mScreenState = state;
}

std::string Point(int x, int y)
{
    return std::to_string(x) + "," + std::to_string(y);
}
} // namespace

const std::vector<RecordingHud::ButtonPlace>& RecordingHud::Buttons()
{
    static const std::vector<ButtonPlace> buttons = {
        {L"pause_btn", {800, 700, 40, 40}},   {L"pause_btn_ac", {800, 700, 40, 40}},
        {L"play_btn", {850, 700, 40, 40}},    {L"play_btn_ac", {850, 700, 40, 40}},
        {L"speed_btn", {900, 700, 40, 40}},   {L"speed_btn_ac", {900, 700, 40, 40}},
        {L"options_btn", {950, 700, 50, 40}}, {L"options_btn_ac", {950, 700, 50, 40}},
    };
    return buttons;
}

RecordingHud::RecordingHud(bool withButtons)
{
    if (!withButtons)
        return;
    for (const ButtonPlace& place : Buttons())
    {
        auto* button = new NQButtonFrame;
        button->mName = place.name;
        for (int i = 0; i < 4; ++i)
            button->mRect[i] = place.rect[i];
        mButtons.push_back(button);
    }
}

RecordingHud::~RecordingHud()
{
    LogCall("HUD.~HUD");
}

void RecordingHud::Draw(render::Graphics*)
{
    LogCall("HUD.Draw");
}

void RecordingHud::Update(float dt)
{
    LogCall("HUD.Update");
    lastUpdateDt = dt;
    mWindows.insert(mWindows.end(), mPendingWindows.begin(), mPendingWindows.end());
    mPendingWindows.clear();
}

void RecordingHud::Refresh()
{
    LogCall("HUD.Refresh");
}

void RecordingHud::OnClose()
{
    LogCall("HUD.OnClose");
}

void RecordingHud::OnMouseMove(int x, int y)
{
    LogCall("HUD.OnMouseMove " + Point(x, y));
}

void RecordingHud::OnMouseUp(int x, int y)
{
    LogCall("HUD.OnMouseUp " + Point(x, y));
}

void RecordingHud::OnMouseDown(int x, int y)
{
    LogCall("HUD.OnMouseDown " + Point(x, y));
}

void RecordingHud::OnMouseWheel(int delta)
{
    LogCall("HUD.OnMouseWheel " + std::to_string(delta));
}

void RecordingHud::OnChar(int character)
{
    LogCall("HUD.OnChar " + std::to_string(character));
}

void RecordingHud::OnKeyDown(int key)
{
    LogCall("HUD.OnKeyDown " + std::to_string(key));
}

int RecordingHud::HitTest(int x, int y)
{
    LogCall("HUD.HitTest " + Point(x, y));
    for (const Target& target : targets)
    {
        const float* r = target.rect;
        if (x >= r[0] && x <= r[0] + r[2] && y >= r[1] && y <= r[1] + r[3])
            return target.index;
    }
    return -1;
}

std::wstring RecordingHud::Click(int x, int y)
{
    LogCall("HUD.Click " + Point(x, y));
    for (const Target& target : targets)
    {
        const float* r = target.rect;
        if (x >= r[0] && x <= r[0] + r[2] && y >= r[1] && y <= r[1] + r[3])
            return target.name;
    }
    return {};
}

void RecordingHud::AddSpellButton(int32_t slot)
{
    LogCall("HUD.AddSpellButton " + std::to_string(slot));
}

void RecordingHud::PushWindow(HUDWindow* window)
{
    LogCall("HUD.PushWindow");
    if (!window)
        return;
    if (mWindows.empty())
        mBackdropState = kBackdropFadingIn;
    mPendingWindows.push_back(window);
}

void RecordingHud::CloseTopWindow()
{
    LogCall("HUD.CloseTopWindow");
    if (mWindows.empty())
        return;
    HUDWindow* top = mWindows.back();
    mWindows.pop_back();
    delete top;
}

void RecordingHud::RefreshTopWindow()
{
    LogCall("HUD.RefreshTopWindow");
}

void RecordingHud::DrawWindows(render::Graphics*, int layer)
{
    LogCall("HUD.DrawWindows " + std::to_string(layer));
}

void RecordingHud::ResetSpellCooldowns()
{
    LogCall("HUD.ResetSpellCooldowns");
}

void RecordingHud::NextLevel()
{
    LogCall("HUD.NextLevel");
}

void RecordingHud::UpdateGoldText()
{
    LogCall("HUD.UpdateGoldText");
}

void RecordingHud::UpdateGemsText()
{
    LogCall("HUD.UpdateGemsText");
}

void RecordingHud::UpdateLivesText()
{
    LogCall("HUD.UpdateLivesText");
}

void RecordingHud::UpdateWavesText()
{
    LogCall("HUD.UpdateWavesText");
}

void RecordingHud::ShowSplashScreens()
{
    LogCall("HUD.ShowSplashScreens");
    SetState(screen::kSplashScreens);
}

void RecordingHud::ShowVideoIntro()
{
    LogCall("HUD.ShowVideoIntro");
    SetState(screen::kIntroVideo);
}

void RecordingHud::ShowMainMenu()
{
    LogCall("HUD.ShowMainMenu");
    SetState(screen::kMainMenu);
}

void RecordingHud::ShowProfiles()
{
    LogCall("HUD.ShowProfiles");
    SetState(screen::kProfiles);
    if (NQMap* map = Game::GetMap())
        map->mCurrentMenu.clear();
}

void RecordingHud::ShowModalInput()
{
    LogCall("HUD.ShowModalInput");
}

void RecordingHud::ShowEpisodeSelect()
{
    LogCall("HUD.ShowEpisodeSelect");
    SetState(screen::kEpisodeSelect);
}

void RecordingHud::ShowLevelSelect()
{
    LogCall("HUD.ShowLevelSelect");
    SetState(screen::kLevelSelect);
}

void RecordingHud::ShowShop(bool fromLevel)
{
    LogCall(std::string("HUD.ShowShop ") + (fromLevel ? "1" : "0"));
    SetState(screen::kShop);
}

void RecordingHud::ShowGemShop(const std::wstring& returnTo)
{
    LogCall("HUD.ShowGemShop " + Narrow(returnTo));
    NQMap::sGemShopReturnTarget = returnTo;
    SetState(screen::kGemShop);
}

void RecordingHud::ShowUnlockMessage(const std::vector<int32_t>& ids)
{
    std::string text;
    for (size_t i = 0; i < ids.size(); ++i)
        text += (i ? "," : "") + std::to_string(ids[i]);
    LogCall("HUD.ShowUnlockMessage " + text);
    lastUnlocks = ids;
    SetState(screen::kUnlockMessage);
    if (NQMap* map = Game::GetMap())
        map->mSpeed = 0.0f;
}

void RecordingHud::ShowModalMessage(const std::wstring& caption, const std::wstring& message, int32_t returnState)
{
    LogCall("HUD.ShowModalMessage " + Narrow(caption) + "|" + Narrow(message) + "|" + std::to_string(returnState));
    SetState(screen::kModalMessage);
    if (NQMap* map = Game::GetMap())
        map->mPendingDialog = returnState;
}

void RecordingHud::ShowModalDialog(const std::wstring& caption, const std::wstring& message, int32_t dialogId)
{
    LogCall("HUD.ShowModalDialog " + Narrow(caption) + "|" + Narrow(message) + "|" + std::to_string(dialogId));
    SetState(screen::kModalMessage);
    if (NQMap* map = Game::GetMap())
        map->mPendingDialog = dialogId;
}

bool RecordingHud::IsEnabled(const std::wstring& name) const
{
    const NQButtonFrame* button = FindButton(name);
    return button && button->mShown != 0;
}
} // namespace gametest
