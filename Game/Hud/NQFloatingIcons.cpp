#include "Game/Hud/NQFloatingIcons.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQResources.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"

#include <algorithm>

namespace
{
constexpr int kAlignStart = 0;
constexpr int kAlignCentre = 2;
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// Null before the set is loaded: the popups then show their texts only.
render::Image* FramePicture(const wchar_t* name)
{
    const NQFrameEntry* frame = NQResources::Instance()->FindFrame(L"nq/ui", L"", name);
    return frame ? frame->mPicture : nullptr;
}
} // namespace

void NQFloatingIcon::Update(float dt)
{
    if (!alive)
        return;
    age += dt;
    x += vx * kRiseSpeed * dt;
    y += vy * kRiseSpeed * dt;
    alive = age < life ? 1 : 0;
}

void NQFloatingIcon::Draw(render::Graphics* graphics) const
{
    if (age > life - kFadeTime)
        graphics->SetColor(1.0f, 1.0f, 1.0f, (life - age) / kFadeTime);
    if (picture)
    {
        math::Transform2D transform;
        transform.Translate(x, y);
        auto record = graphics->DrawImage(*picture).Transform(transform);
        record->SetAnchor(kAlignCentre, kAlignCentre);
    }
    if (!text.empty())
    {
        math::Transform2D transform;
        transform.Scale(kTextScale, kTextScale);
        transform.Translate(x + kTextOffsetX, y);
        auto record = graphics->DrawText(text).Transform(transform);
        record->SetAlign(kAlignStart, kAlignCentre);
    }
    graphics->SetColor(kWhite);
}

NQFloatingIcons::NQFloatingIcons()
{
    mKindPictures[kImmune] = FramePicture(L"ui/immune");
    mKindPictures[kCoin] = FramePicture(L"ui/money");
}

NQFloatingIcons::~NQFloatingIcons()
{
    Clear();
}

NQFloatingIcon* NQFloatingIcons::Spawn(float x, float y, int kind)
{
    auto* icon = new NQFloatingIcon;
    icon->x = x;
    icon->y = y;
    icon->kind = kind;
    if (kind >= 0 && kind <= kCoin)
        icon->picture = mKindPictures[kind];
    mIcons.push_back(icon);
    return icon;
}

void NQFloatingIcons::Update(float dt)
{
    for (NQFloatingIcon* icon : mIcons)
        icon->Update(dt);
    const auto finished = std::stable_partition(mIcons.begin(), mIcons.end(),
                                                [](const NQFloatingIcon* icon) { return icon->alive != 0; });
    for (auto it = finished; it != mIcons.end(); ++it)
        delete *it;
    mIcons.erase(finished, mIcons.end());
}

void NQFloatingIcons::Clear()
{
    base::DeleteAll(mIcons);
}

void NQFloatingIcons::Draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    Game* game = Game::Get();
    if (game && game->GetRootBoard())
    {
        if (const auto& font = game->GetRootBoard()->GetFont(GameWindow::kFontNormal))
            graphics->mFont = font.Get();
    }
    for (const NQFloatingIcon* icon : mIcons)
        icon->Draw(graphics);
}
