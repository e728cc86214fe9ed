#include "Game/Hud/HUDLevelName.h"

#include "Core/Math/Transform2D.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Level/NQMap.h"

namespace
{
constexpr int kHardcoreMode = 3;
constexpr int kAlignCentre = 2;
constexpr float kFadeRate = 2.0f;

void DrawCentred(render::Graphics* graphics, int font, const std::wstring& text, float x, float y)
{
    Game* game = Game::Get();
    GameWindow* board = game ? game->GetRootBoard() : nullptr;
    const auto& handle = board ? board->GetFont(font) : resource::ResourceHandle<render::BMFont>();
    if (!handle)
        return; // no font, no text
    graphics->mFont = handle.Get();
    math::Transform2D transform;
    transform.Translate(x, y);
    auto record = graphics->DrawText(text).Transform(transform);
    record->SetAlign(kAlignCentre, kAlignCentre);
}
} // namespace

HUDLevelName::HUDLevelName()
{
    const NQMap* map = Game::GetMap();
    if (!map)
        return; // no level to name
    LocalStrings* strings = LocalStrings::Instance();
    mSubtitle = strings->Get(L"level_d") + L" " + std::to_wstring(map->mLevel + 1);
    const std::wstring key = map->mMode == kHardcoreMode ? L"episodeHardcore" : L"episode";
    mTitle = strings->Get(key + std::to_wstring(map->mEpisode));
}

void HUDLevelName::Update(float dt)
{
    mTimer -= dt;
    if (mTimer >= 0.0f)
        return;
    // The new phase starts whole: the overshoot is not carried over.
    switch (mPhase)
    {
    case kFadeIn:
        mPhase = kHold;
        mTimer = kHoldTime;
        break;
    case kHold:
        mPhase = kFadeOut;
        mTimer = kFadeOutTime;
        break;
    default:
        mAlive = 0;
        break;
    }
}

float HUDLevelName::GetAlpha() const
{
    switch (mPhase)
    {
    case kFadeIn:
        return 1.0f - kFadeRate * mTimer;
    case kHold:
        return 1.0f;
    default:
        return kFadeRate * mTimer;
    }
}

void HUDLevelName::Draw(render::Graphics* graphics)
{
    if (!graphics || mTimer < 0.0f)
        return;
    graphics->SetColor(1.0f, 1.0f, 1.0f, GetAlpha());
    const NQMap* map = Game::GetMap();
    const float cx = map ? map->mViewportX + map->mViewportWidth * 0.5f : 0.0f;
    const float cy = map ? map->mViewportY + map->mViewportHeight * 0.5f : 0.0f;
    DrawCentred(graphics, GameWindow::kFontLarge, mTitle, cx, cy - kLineOffset);
    DrawCentred(graphics, GameWindow::kFontNormal, mSubtitle, cx, cy + kLineOffset);
}
