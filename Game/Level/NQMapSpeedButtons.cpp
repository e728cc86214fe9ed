// The speed buttons and the in-game menu.
#include "Core/Render/ParticleEmitter.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDIngameMenu.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr int kEmitterPositionMode = 1;

void SetEnabled(HUD* hud, const wchar_t* name, bool enabled)
{
    if (NQButtonFrame* button = hud->FindButton(name))
        button->mShown = enabled ? 1 : 0;
}
} // namespace

void NQMap::UpdateSpeedButtons()
{
    SetEnabled(mHud, L"play_btn_ac", mSpeed == 1.0f);
    SetEnabled(mHud, L"play_btn", mSpeed != 1.0f);
    SetEnabled(mHud, L"speed_btn_ac", mSpeed == 2.0f);
    SetEnabled(mHud, L"speed_btn", mSpeed != 2.0f);
    SetEnabled(mHud, L"options_btn_ac", false);
    SetEnabled(mHud, L"pause_btn_ac", mSpeed == 0.0f);
    SetEnabled(mHud, L"pause_btn", mSpeed != 0.0f);

    if (!mButtonEmitter)
        return; // no particle library
    const wchar_t* lit = nullptr;
    if (mSpeed == 0.0f)
        lit = L"pause_btn_ac";
    else if (mSpeed == 1.0f)
        lit = L"play_btn_ac";
    else if (mSpeed == 2.0f)
        lit = L"speed_btn_ac";
    float position[2] = {0.0f, 0.0f};
    if (const NQButtonFrame* button = lit ? mHud->FindButton(lit) : nullptr)
    {
        position[0] = button->mRect[0] + button->mRect[2] * 0.5f;
        position[1] = button->mRect[1] + button->mRect[3] * 0.5f;
    }
    mButtonEmitter->SetPosition(position, kEmitterPositionMode);
}

void NQMap::OpenIngameMenu()
{
    mSpeed = 0.0f;
    UpdateSpeedButtons();
    mScreenState = screen::kIngameMenu;
    NQTutorial::Instance()->Hide();
    mHud->PushWindow(new HUDIngameMenu);
}

void NQMap::PauseIfPlaying()
{
    if (mScreenState == screen::kPlaying)
        OpenIngameMenu();
}
