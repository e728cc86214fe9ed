// The context ring on the map: opening it on a release, and its drawing with
// the opening and closing fade, the half circle near the screen borders,
// prices, captions and ability icons.
#include "Game/Level/NQMap.h"

#include "Core/Base/TextEncoding.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/AttributedText.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr int kAnchorCentre = 2;
constexpr int kNoSpotFilter = -1;
// The tutorial's third tower spot.
constexpr float kTutorialTowerX = 896.0f;
constexpr float kTutorialTowerY = 563.0f;
// A ring keeps below the HUD's top panel and above the bottom strip where
// the spell bar and the tutorial's skip button stand.
constexpr float kScreenWidth = 1024.0f;
constexpr float kRingSafeTop = 60.0f;
constexpr float kRingSafeBottom = 704.0f;
constexpr float kAbilityRadius = 35.0f;
constexpr float kAbilityArcStart = 270.0f;
constexpr float kAbilityArc = 180.0f;
constexpr float kUnaffordable[4] = {0.94f, 0.44f, 0.44f, 1.0f};
constexpr float kCaptionShort[4] = {1.0f, 0.0f, 0.0f, 1.0f};
constexpr int32_t kTierRingPriceKind = NQContextMenu::kTierRing;
constexpr int32_t kSellKey = 0;
// A choice's star mark sits on its tower picture's right rim, clear of the
// price above and the ability icons fanning out below.
constexpr float kMarkAcross = 0.5f;
constexpr float kMarkDown = 0.0f;

// Addon tokens and the ability icons they show.
struct AbilityIcon
{
    const char* token;
    const char* icon;
};
constexpr AbilityIcon kAbilityIcons[] = {
    {"dot", "dot"},           {"aim", "aimed"},      {"splash", "splash"},
    {"fsplash", "firesplash"}, {"stun", "stun"},      {"boost", "towerBoost"},
    {"show_invisible", "showInvisible"}, {"gold", "goldIncome"}, {"tele", "teleportEnemy"},
    {"air", "air"},           {"star1", "stars1"},   {"star2", "stars2"},
    {"showInvisible", "showInvisible"},
};

float Radians(float degrees)
{
    return degrees * NQContextMenu::kPi / 180.0f;
}

void FrameCentre(const NQFrameEntry* frame, float& x, float& y)
{
    x = frame->mRect[0] + frame->mRect[2] * 0.5f;
    y = frame->mRect[1] + frame->mRect[3] * 0.5f;
}

void DrawCentred(render::Graphics* graphics, render::Image* picture, float x, float y)
{
    // A missing picture is skipped.
    if (!picture)
        return;
    auto record = graphics->DrawImage(*picture);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
    const float at[2] = {x, y};
    auto placed = record.Translate(at);
}

void DrawText(render::Graphics* graphics, AttributedText* text, const std::wstring& value, float x, float y)
{
    text->SetText(value);
    math::Transform2D at;
    at.Translate(x, y);
    text->Draw(graphics, at);
}

render::Image* FindIcon(const std::map<int32_t, render::Image*>& icons, int32_t id)
{
    const auto it = icons.find(id);
    return it == icons.end() ? nullptr : it->second;
}

void CollectAbilityIcons(const NQMap& map, const NQUnitProto& proto, std::vector<render::Image*>& out)
{
    for (const std::string& token : proto.addonNames)
        for (const AbilityIcon& entry : kAbilityIcons)
        {
            if (token != entry.token)
                continue;
            const auto it = map.mAbilityIcons.find(entry.icon);
            out.push_back(it == map.mAbilityIcons.end() ? nullptr : it->second);
            break;
        }
}

// A release on the ring's own spot or tower closes it; anywhere else that
// opens a ring it goes at once, without a sound.
void LeaveRing(NQContextMenu*& ring, bool sameTarget)
{
    if (sameTarget)
    {
        ring->Close();
        return;
    }
    delete ring;
    ring = nullptr;
}
} // namespace

NQMap::RingOpening NQMap::OpenContextMenuAt(int x, int y)
{
    if (NQFrameEntry* spotFrame = FindSpotEntryAt(float(x), float(y)))
    {
        if (mContextMenu)
        {
            LeaveRing(mContextMenu, mContextMenu->mSpotFrame == spotFrame);
            return RingOpening::kSpotHandled;
        }
        // The tutorial lets only its own spot open.
        if (mTutorialSpotFilter != kNoSpotFilter && spotFrame->mName != L"#" + std::to_wstring(mTutorialSpotFilter))
            return RingOpening::kSpotHandled;
        mContextMenu = new NQContextMenu;
        if (spotFrame->mSpot && spotFrame->mSpot->mOwned)
        {
            const auto& frames = mDecorationSet->mSpotFrames;
            const auto index = std::find(frames.begin(), frames.end(), spotFrame) - frames.begin();
            mContextMenu->OpenBuildMenu(int32_t(index), spotFrame);
        }
        else
            mContextMenu->OpenBuySpotMenu(spotFrame);
        FrameCentre(spotFrame, mContextMenu->mCenterX, mContextMenu->mCenterY);
        KeepRingOnScreen();
        return RingOpening::kSpotHandled;
    }

    NQTower* tower = FindTowerAt(float(x), float(y));
    if (!tower)
        return RingOpening::kNothing;
    if (mContextMenu)
    {
        LeaveRing(mContextMenu, mContextMenu->mTower == tower);
        return RingOpening::kRingLeft;
    }
    mContextMenu = new NQContextMenu;
    mContextMenu->OpenTowerMenu(tower);
    const NQSpot* spot = tower->mSpotFrame ? tower->mSpotFrame->mSpot : nullptr;
    if (spot && spot->mX == kTutorialTowerX && spot->mY == kTutorialTowerY)
        NQTutorial::Instance()->OnEvent(L"tower_select_3");
    if (tower->mSpotFrame)
        FrameCentre(tower->mSpotFrame, mContextMenu->mCenterX, mContextMenu->mCenterY);
    else
    {
        mContextMenu->mCenterX = tower->mAnchorX;
        mContextMenu->mCenterY = tower->mAnchorY;
    }
    KeepRingOnScreen();
    return RingOpening::kTowerRingOpened;
}

void NQMap::KeepRingOnScreen()
{
    // The screen's play area, in the level's units.
    const auto toMapX = [this](float x) { return (x - mViewOffsetX) / mZoom; };
    const auto toMapY = [this](float y) { return (y - mViewOffsetY) / mZoom; };
    mContextMenu->KeepWithin(toMapX(0.0f), toMapY(kRingSafeTop), toMapX(kScreenWidth), toMapY(kRingSafeBottom));
}

void NQMap::DrawContextMenu(render::Graphics* graphics)
{
    NQContextMenu* ring = mContextMenu;
    if (!ring || !ring->mActive || !graphics)
        return;
    ring->DrawRangePreview(graphics);
    const bool towerRing = ring->mKind == NQContextMenu::kTowerRing || ring->mKind == NQContextMenu::kTierRing;
    if (towerRing && ring->mState != NQContextMenu::kClosing && ring->mTower)
        ring->mTower->Draw(graphics);
    const float fade = ring->GetFadeFactor();
    if (ring->mItems.empty())
    {
        ring->mActive = 0;
        return;
    }
    const int32_t gold = mEconomy ? mEconomy->mGold : 0;
    const int32_t gems = mEconomy ? mEconomy->mGems : 0;
    render::Font* ringFont = nullptr;
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        if (const auto& font = game->GetRootBoard()->GetFont(GameWindow::kFontMain32_2); font && font->IsLoaded())
            ringFont = font.Get();
    if (ringFont)
        graphics->mFont = ringFont;

    const float cx = ring->mCenterX;
    const float cy = ring->mCenterY;
    const bool nearBorder = ring->IsNearBorder();
    const float scale = ring->GetScale();
    if (nearBorder)
    {
        if (!ring->mReversed)
        {
            ring->mReversed = true;
            if (cy > NQContextMenu::kBorderTop && cx > NQContextMenu::kBorderLeft)
                std::reverse(ring->mItems.begin(), ring->mItems.end());
        }
        // The half circle turns away from the border.
        ring->GetArc(ring->mStartAngle, ring->mEndAngle);
    }
    const NQSpot* spot = ring->mSpotFrame ? ring->mSpotFrame->mSpot : nullptr;

    for (size_t i = 0; i < ring->mItems.size(); ++i)
    {
        NQContextMenuItem* item = ring->mItems[i];
        const NQUnitProto* proto = item->mProto;
        const float angle = ring->GetItemAngle(i);
        item->mAngle = angle;

        const float a = Radians(angle);
        const float reach = NQContextMenu::kRadius * scale * fade;
        const float px = cx + std::sin(a) * reach;
        const float py = cy + std::cos(a) * reach;
        graphics->SetColor(1.0f, 1.0f, 1.0f, fade);

        // A choice shows its tower, marked with its stars; a prototype
        // without a tower picture shows the mark alone.
        render::Image* icon = nullptr;
        render::Image* mark = nullptr;
        if (proto)
        {
            icon = FindIcon(mTowerIcons, proto->id);
            mark = proto->stars == 1 ? mLevel2Mark : proto->stars == 2 ? mLevel3Mark : nullptr;
            if (!icon)
                std::swap(icon, mark);
        }
        else
            icon = ring->mKind == NQContextMenu::kBuySpotRing ? mBuyPicture : mSellPicture;
        DrawCentred(graphics, icon, px, py);
        if (icon && mark)
            DrawCentred(graphics, mark, px + icon->GetWidth() * kMarkAcross, py + icon->GetHeight() * kMarkDown);

        // The price and caption stand above the item's picture, which they
        // would hide on the unscaled circle of a half ring.
        const float tx = px;
        const float ty = py - NQContextMenu::kPriceLift;
        if (proto)
        {
            std::vector<render::Image*> abilities;
            CollectAbilityIcons(*this, *proto, abilities);
            const float abilityStep = kAbilityArc / float(abilities.size() + 1);
            for (size_t j = 0; j < abilities.size(); ++j)
            {
                const float b = Radians(kAbilityArcStart + float(j + 1) * abilityStep);
                DrawCentred(graphics, abilities[j], px + std::sin(b) * kAbilityRadius,
                            py + std::cos(b) * kAbilityRadius);
            }

            const int32_t value = int32_t(ring->mKind == kTierRingPriceKind ? proto->tierCost : item->mPrice);
            if (gold < value)
                graphics->SetColor(kUnaffordable);
            else
                graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
            DrawText(graphics, item->mPriceText, L"$" + std::to_wstring(value), tx, ty);
            graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
        }
        else if (towerRing && item->mKey == kSellKey && ring->mTower)
        {
            // The sell item shows what selling gives back.
            graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
            DrawText(graphics, item->mPriceText, L"$" + std::to_wstring(GetSellRefund(ring->mTower)), tx, ty);
        }
        if (!item->mCaption.empty())
        {
            const bool shortOfIt = spot && (gold < spot->mGoldPrice || gems < spot->mGemPrice);
            if (ring->mState == NQContextMenu::kOpen && shortOfIt)
                graphics->SetColor(kCaptionShort);
            DrawText(graphics, item->mPriceText, base::Utf8ToWide(item->mCaption), tx, ty);
            graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
        }
    }
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    // The price texts drew in their own font; the ring's stays the context's.
    if (ringFont)
        graphics->mFont = ringFont;
}
