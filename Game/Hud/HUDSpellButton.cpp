#include "Game/Hud/HUDSpellButton.h"

#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Game/Data/CreateUpgradedProto.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Level/NQMap.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace
{
constexpr int kAnchorCentre = 2;
constexpr int kPositionMode = 1;
constexpr int kStatePlaying = 1;
const char* const kFlashName = "blik_6";

float ImageWidth(const render::Image* image) { return image ? float(image->GetWidth()) : 0.0f; }
float ImageHeight(const render::Image* image) { return image ? float(image->GetHeight()) : 0.0f; }

// The number on the cover; nothing for a value outside the int range (a NaN
// cooldown from a damaged sheet).
bool CountdownText(float remaining, std::wstring& out)
{
    const float shown = remaining + 1.0f;
    if (!std::isfinite(shown) || shown >= float(std::numeric_limits<int>::max()) ||
        shown <= float(std::numeric_limits<int>::min()))
        return false;
    out = std::to_wstring(int(shown));
    return true;
}
} // namespace

HUDSpellButton::HUDSpellButton(int32_t spellSlot) : mSpellSlot(spellSlot)
{
    mTimer = 0.0f;
    mHovered = 0;
    mScale = kRestScale;
}

HUDSpellButton::~HUDSpellButton()
{
    delete mFlash;
    mFlash = nullptr;
}

NQSpellEntry* HUDSpellButton::GetEntry() const
{
    const NQMap* map = Game::GetMap();
    if (!map || !map->mSpellTable)
        return nullptr;
    return map->mSpellTable->FindBySlot(mSpellSlot);
}

int32_t HUDSpellButton::GetSpellId() const
{
    const NQSpellEntry* entry = GetEntry();
    return entry ? entry->protoId : -1;
}

bool HUDSpellButton::TowerSpellBlocked() const
{
    if (mSpellSlot != kTowerSpellSlot)
        return false;
    const NQMap* map = Game::GetMap();
    return !map || map->mTowers.empty();
}

void HUDSpellButton::StartCooldown()
{
    const NQSpellEntry* entry = GetEntry();
    if (!entry)
        return;
    // No prototype for the id: no cooldown to run.
    std::unique_ptr<NQUnitProto> spell(CreateUpgradedProto(entry->protoId));
    if (!spell)
        return;
    mPressed = 1;
    mTimer = spell->cooldown;
}

void HUDSpellButton::FinishCooldown()
{
    mPressed = 0;
    mTimer = 0.0f;
    if (!mFlash)
        mFlash = render::ParticleSystem::Instance()->CreateEmitter(kFlashName);
    // A library without the effect gives no flash.
    if (!mFlash)
        return;
    const float centre[2] = {mCenterX, mCenterY};
    mFlash->SetPosition(centre, kPositionMode);
    mFlash->SetState(kStatePlaying);
}

bool HUDSpellButton::AcceptsClick(int x, int y)
{
    return Contains(x, y) && !IsCooling() && !TowerSpellBlocked();
}

bool HUDSpellButton::Contains(int x, int y)
{
    const NQSpellEntry* entry = GetEntry();
    const render::Image* icon = entry ? entry->firstPicture : nullptr;
    const float w = ImageWidth(icon);
    // A missing or empty icon counts as a square box.
    const float height = w > 0.0f ? kBoxWidth * ImageHeight(icon) / w : kBoxWidth;
    const float px = float(x);
    const float py = float(y);
    return px >= mCenterX - kBoxWidth / 2.0f && px <= mCenterX + kBoxWidth / 2.0f && py >= mCenterY - height / 2.0f &&
           py <= mCenterY + height / 2.0f;
}

void HUDSpellButton::OnMouseMove(int x, int y) { mHovered = Contains(x, y) ? 1 : 0; }

void HUDSpellButton::Update(float dt)
{
    if (IsCooling())
    {
        const NQMap* map = Game::GetMap();
        const float speed = map ? map->mSpeed : 0.0f;
        mTimer -= speed * dt;
        if (mTimer <= 0.0f)
            FinishCooldown();
    }
    AnimateHover(dt, kGrowPerSecond, kShrinkPerSecond);
    if (mFlash)
    {
        mFlash->Update(dt);
        if (mFlash->mState != kStatePlaying)
        {
            delete mFlash;
            mFlash = nullptr;
        }
    }
}

void HUDSpellButton::Draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    const NQSpellEntry* entry = GetEntry();
    if (mTimer > 0.0f)
    {
        DrawCooling(graphics, entry);
    }
    else if (entry)
    {
        render::Image* icon = TowerSpellBlocked() ? entry->secondPicture : entry->firstPicture;
        if (icon)
        {
            math::Transform2D transform;
            transform.Scale(mScale, mScale);
            transform.Translate(mCenterX, mCenterY);
            auto record = graphics->DrawImage(*icon).Transform(transform);
            record->SetAnchor(kAnchorCentre, kAnchorCentre);
        }
    }
    if (mFlash)
        graphics->DrawParticles(mFlash);
}

void HUDSpellButton::DrawCooling(render::Graphics* graphics, const NQSpellEntry* entry)
{
    const render::Image* icon = entry ? entry->firstPicture : nullptr;
    const render::Image* cover = entry ? entry->secondPicture : nullptr;
    const float coverW = ImageWidth(cover);
    const float coverH = ImageHeight(cover);
    const float left = mCenterX - std::floor(ImageWidth(icon) / 2.0f);
    const float top = mCenterY - std::floor(ImageHeight(icon) / 2.0f);

    // The icon through the cover's rectangle, never past its own edges.
    const float iconW = std::min(cover ? coverW : ImageWidth(icon), ImageWidth(icon));
    const float iconH = std::min(cover ? coverH : ImageHeight(icon), ImageHeight(icon));
    if (icon && iconW > 0.0f && iconH > 0.0f)
    {
        const float source[4] = {0.0f, 0.0f, iconW, iconH};
        const float dest[4] = {left, top, iconW, iconH};
        auto record = graphics->DrawImagePart(*icon, source, dest);
    }

    const NQMap* map = Game::GetMap();
    const NQUnitProto* plain =
        entry && map && map->mUnitDatabase ? map->mUnitDatabase->FindProto(entry->protoId) : nullptr;
    const float full = plain ? plain->cooldown : 0.0f;
    // No cover for a spell without a cooldown; a cooldown lengthened by
    // upgrades shows the whole cover, never more than the picture.
    if (cover && full > 0.0f)
    {
        const float ratio = std::clamp(mTimer / full, 0.0f, 1.0f);
        const float height = coverH * ratio;
        const float source[4] = {0.0f, 0.0f, coverW, height};
        const float dest[4] = {left, top, coverW, height};
        if (coverW > 0.0f && height > 0.0f)
            graphics->DrawImagePart(*cover, source, dest);
    }

    std::wstring number;
    if (!CountdownText(mTimer, number))
        return;
    Game* game = Game::Get();
    if (game && game->GetRootBoard())
    {
        if (const auto& font = game->GetRootBoard()->GetFont(GameWindow::kFontNormal))
            graphics->mFont = font.Get();
    }
    math::Transform2D transform;
    transform.Translate(left + std::floor(coverW / 2.0f), top + std::floor(coverH / 2.0f));
    auto record = graphics->DrawText(number).Transform(transform);
    record->SetAlign(kAnchorCentre, kAnchorCentre);
}
