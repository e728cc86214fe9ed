#include "Game/GameWindow.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/RenderState.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Hud/HUD.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <cmath>
#include <utility>

namespace
{
// The board takes every pointer event on the screen.
constexpr float kHitOrigin = -10000.0f;
constexpr float kHitSize = 20000.0f;
constexpr int kLeftButton = 1;

// Developer keys: digits and lower-case letters are their own key codes.
constexpr int kKeyWaveDebug = '1';
constexpr int kKeySecondDebug = '3';
constexpr int kKeySpellCooldowns = '4';
constexpr int kKeyGems = 'c';
constexpr int kKeyLives = 'h';
constexpr int kKeyLose = 'l';
constexpr int kKeyGold = 'm';
constexpr int kKeyRestart = 'r';
constexpr int kKeyWin = 'w';
constexpr int kDeveloperGems = 100;
constexpr float kDeveloperLives = 100.0f;
constexpr int kDeveloperGold = 1000;
constexpr int kWaveDebugFlag = 0;
constexpr int kSecondDebugFlag = 2;

int Truncate(float value)
{
    return int(std::trunc(value));
}
} // namespace

const wchar_t* const GameWindow::kFontNames[kFontCount] = {
    L"nq/data/fonts/main_32_1", L"nq/data/fonts/main_32_2", L"nq/data/fonts/main_42_1",
    L"nq/data/fonts/main_42_2", L"nq/data/fonts/main_80",   L"nq/data/fonts/main_42_3",
};

GameWindow::GameWindow(LevelHudFactory makeHud) : mMakeHud(std::move(makeHud))
{
}

GameWindow::~GameWindow()
{
    // Overlays first: their destructors may still read the level.
    for (HUDWindow*& overlay : mOverlays)
    {
        delete overlay;
        overlay = nullptr;
    }
    // Game::GetMap answers the level while it goes, so windows that write
    // into it during its teardown find it.
    delete mLevel;
    mLevel = nullptr;
    if (Game* game = Game::Get())
        game->OnRootBoardDeleted(this);
    for (auto& font : mFonts)
        font.Reset();
}

HVResultEnum GameWindow::Load()
{
    SetHitRect(kHitOrigin, kHitOrigin, kHitSize, kHitSize);
    mPointerX = 0;
    mPointerY = 0;

    Game* game = Game::Get();
    render::Render* renderer = game ? game->mRender : nullptr;
    render::ParticleSystem* particles = render::ParticleSystem::Instance();
    particles->mFolder = "nq/fx/";
    particles->Load("fx2.ptc", renderer);

    resource::ResourceManager* resources = resource::ResourceManager::Instance();
    for (int i = 0; i < kFontCount; ++i)
    {
        mFonts[i] = resources->Get<render::BMFont>(kFontNames[i]);
        if (!mFonts[i])
            continue;
        mFonts[i]->SetRender(renderer);
        mFonts[i]->Load(); // a missing font stays empty
    }

    mLevel = new NQMap(mMakeHud);
    mLevel->mEconomy->AddGems(mLevel->mProgress->GetGems());
    if (HUD* hud = HUD::Of(mLevel))
        hud->ShowSplashScreens();
    SetOverlay(kConfirmSlot, nullptr);
    SetOverlay(kBannerSlot, nullptr);
    return HV_OK;
}

resource::ResourceHandle<render::BMFont> GameWindow::GetFont(const std::wstring& name) const
{
    for (int i = 0; i < kFontCount; ++i)
    {
        if (name == kFontNames[i])
            return mFonts[i];
    }
    return {};
}

void GameWindow::SetOverlay(int slot, HUDWindow* window)
{
    if (mOverlays[slot] == window)
        return;
    delete mOverlays[slot];
    mOverlays[slot] = window;
}

HVResultEnum GameWindow::Update(float dt)
{
    for (HUDWindow*& overlay : mOverlays)
    {
        if (!overlay)
            continue;
        if (overlay->mAlive)
        {
            overlay->Update(dt);
            continue;
        }
        delete overlay;
        overlay = nullptr;
    }
    if (mLevel)
        mLevel->Update(dt);
    return HV_OK;
}

HVResultEnum GameWindow::PreDraw(render::Graphics* graphics, layer::Layer*)
{
    graphics->SetBlendMode(render::kBlendAlpha);
    if (mLevel)
        mLevel->Draw(graphics);
    return HV_OK;
}

HVResultEnum GameWindow::PostDraw(render::Graphics* graphics, layer::Layer*)
{
    for (HUDWindow* overlay : mOverlays)
    {
        if (overlay)
            overlay->Draw(graphics);
    }
    return HV_OK;
}

HVResultEnum GameWindow::OnWidgetMouseDown(const math::Vector3& point, int button)
{
    if (button != kLeftButton)
        return HV_OK;
    const int x = Truncate(point.x);
    const int y = Truncate(point.y);
    if (HUDWindow* overlay = mOverlays[kConfirmSlot])
    {
        overlay->OnMouseDown(x, y);
        overlay->OnMouseMove(x, y);
    }
    else if (mLevel)
    {
        mLevel->OnMouseDown(x, y);
    }
    return HV_OK;
}

HVResultEnum GameWindow::OnWidgetMouseUp(const math::Vector3& point, int)
{
    const int x = Truncate(point.x);
    const int y = Truncate(point.y);
    if (HUDWindow* overlay = mOverlays[kConfirmSlot])
        overlay->OnMouseUp(x, y);
    else if (mLevel)
        mLevel->OnMouseUp(x, y);
    return HV_OK;
}

HVResultEnum GameWindow::OnWidgetMouseMove(const math::Vector3& point)
{
    mPointerX = Truncate(point.x);
    mPointerY = Truncate(point.y);
    if (HUDWindow* overlay = mOverlays[kConfirmSlot])
        overlay->OnMouseMove(mPointerX, mPointerY);
    else if (mLevel)
        mLevel->OnMouseMove(mPointerX, mPointerY);
    return HV_OK;
}

HVResultEnum GameWindow::OnWidgetMouseDrag(const math::Vector3& point)
{
    const int x = Truncate(point.x);
    const int y = Truncate(point.y);
    if (mLevel)
        mLevel->OnMouseMove(x, y);
    if (HUDWindow* overlay = mOverlays[kConfirmSlot])
        overlay->OnMouseMove(x, y);
    return HV_OK;
}

HVResultEnum GameWindow::OnWidgetMouseWheel(const math::Vector3&, int delta)
{
    if (mLevel)
        mLevel->OnMouseWheel(delta);
    return HV_OK;
}

HVResultEnum GameWindow::OnChar(wchar_t character)
{
    if (HUD* hud = HUD::Of(mLevel))
        hud->OnChar(int(character));
    return HV_OK;
}

HVResultEnum GameWindow::OnKeyDown(int key)
{
    if (!mLevel)
        return HV_OK;
    if (HUD* hud = HUD::Of(mLevel))
        hud->OnKeyDown(key);
    if (mLevel->mDeveloperKeys && mLevel->mScreenState == screen::kPlaying)
        RunDeveloperKey(key);
    return HV_OK;
}

void GameWindow::RunDeveloperKey(int key)
{
    switch (key)
    {
    case kKeyWaveDebug:
        mLevel->mDebugFlags[kWaveDebugFlag] ^= 1;
        break;
    case kKeySecondDebug:
        mLevel->mDebugFlags[kSecondDebugFlag] ^= 1;
        break;
    case kKeySpellCooldowns:
        mLevel->mHud->ResetSpellCooldowns();
        break;
    case kKeyGems:
        mLevel->mEconomy->AddGems(kDeveloperGems);
        break;
    case kKeyLives:
        mLevel->mLives = kDeveloperLives;
        mLevel->mMaxLives = kDeveloperLives;
        break;
    case kKeyLose:
        mLevel->Lose();
        break;
    case kKeyGold:
        mLevel->mEconomy->AddGold(kDeveloperGold);
        break;
    case kKeyRestart:
        // The reset rereads the sheets itself, after the units that use them are gone.
        mLevel->ResetLevel();
        break;
    case kKeyWin:
        mLevel->Win();
        break;
    default:
        break;
    }
}
