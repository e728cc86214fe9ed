#include "Game/Hud/HUDUpgradePlate.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Sound/SoundTags.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeStep.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/LayerFonts.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr int kAlignCentre = 2;
constexpr int kTextLayoutOption = 2;
constexpr float kTextWidth = 333.0f;
constexpr float kPriceWidth = 70.0f;
// Plate-local places of the parts the layout does not place.
constexpr float kIconX = 35.0f;
constexpr float kIconCentreY = 60.0f;
constexpr float kNameY = 45.0f;
constexpr float kStepTextShiftX = -90.0f;
constexpr float kStepTextY = 74.0f;
constexpr float kPriceX = 650.0f;
constexpr float kPriceY = 60.0f;
// Stars sit this much lower than the layout puts them.
constexpr float kStarDrop = 20.0f;
constexpr float kGrowRate = 0.5f;
constexpr float kShrinkRate = 1.0f;
constexpr float kShortColour[3] = {0.94f, 0.44f, 0.44f};
const wchar_t* const kClickSound = L"simple";

NQMap* Map()
{
    return Game::GetMap();
}

NQProgress* Progress()
{
    NQMap* map = Map();
    return map ? map->mProgress : nullptr;
}

int32_t BoughtLevel(int32_t id)
{
    NQProgress* progress = Progress();
    return progress ? progress->GetUpgradeLevel(id) : -1;
}

// Nothing bought (-1, or any other negative value) makes step 0 the next.
int32_t NextStep(int32_t level)
{
    return level < 0 ? 0 : level + 1;
}

std::wstring UpgradeKey(int32_t id, const std::wstring& suffix)
{
    return L"upgrade_" + std::to_wstring(id) + suffix;
}

layer::TextLayer* MakeText(int font, float width, float x, float y)
{
    auto* text = new layer::TextLayer(LayerFont(font), std::wstring(), width, 0.0f, kTextLayoutOption, true);
    text->SetAlignment(kAlignCentre, kAlignCentre);
    text->SetPosition(x, y, 0.0f);
    return text;
}

// A picture of the layout at its place relative to the plate's origin.
layer::ImageLayer* MakePicture(file::ImageContainer* layout, const std::wstring& name, const base::ImageInfo* origin)
{
    auto* image = new layer::ImageLayer;
    InitImageLayerFromContainer(image, layout, name, origin ? origin->x : 0.0f, origin ? origin->y : 0.0f);
    return image;
}

void SetText(layer::TextLayer* layer, const std::wstring& text, bool snap)
{
    layer->SetText(text);
    if (snap)
        layer->SnapToPixels();
}

template <class T>
void Delete(T*& layer)
{
    delete layer;
    layer = nullptr;
}
} // namespace

HUDUpgradePlate::HUDUpgradePlate(file::ImageContainer* layout, NQUpgrade* upgrade)
{
    mUpgradeId = upgrade ? upgrade->id : 0;
    const int32_t level = BoughtLevel(mUpgradeId);
    mComplete = (!upgrade || !upgrade->GetStep(NextStep(level))) ? 1 : 0;

    const base::ImageInfo* origin = FindContainerImage(layout, kPlatePicture);
    const float plateWidth = origin ? origin->w : 0.0f;
    mPlate = MakePicture(layout, kPlatePicture, nullptr);

    const std::wstring icon = L"icons/" + (upgrade ? upgrade->icon : std::wstring());
    mIcon = MakePicture(layout, icon, origin);
    const base::ImageInfo* iconInfo = FindContainerImage(layout, icon);
    mIcon->SetPosition(kIconX, kIconCentreY - (iconInfo ? iconInfo->h : 0.0f) / 2.0f, 0.0f);
    mPlate->AddChild(mIcon);

    mName = MakeText(GameWindow::kFontNormal, kTextWidth, plateWidth / 2.0f, kNameY);
    SetText(mName, LocalText(UpgradeKey(mUpgradeId, L"_name")), true);
    mPlate->AddChild(mName);

    mClearStar = MakePicture(layout, L"item_plate/stars/clear_star", origin);
    mClearStar->SetY(mClearStar->mPosition.y + kStarDrop);
    mPlate->AddChild(mClearStar);

    const int pips = upgrade ? PipCount(*upgrade) : 0;
    const bool oneStep = upgrade && upgrade->steps.size() == 1;
    for (int i = 0; i < pips; ++i)
    {
        layer::ImageLayer* pip = MakePicture(layout, L"item_plate/stars/star_0" + std::to_wstring(i + 1), origin);
        pip->SetY(pip->mPosition.y + kStarDrop);
        pip->mVisible = oneStep ? level > -1 : i <= level;
        mPips[i] = pip;
        mPlate->AddChild(pip);
    }

    mBuyActive = MakePicture(layout, L"item_plate/buy_ac", origin);
    mBuyInactive = MakePicture(layout, L"item_plate/buy_in", origin);
    const math::Vector3 buyPlace = mBuyActive->mPosition;
    const float buyWidth = mBuyActive->GetWidth();
    const float buyHeight = mBuyActive->GetHeight();
    // Each picture centred on its own origin, so the button scales about its centre.
    for (layer::ImageLayer* picture : {mBuyActive, mBuyInactive})
        picture->SetPosition(-picture->GetWidth() / 2.0f, -picture->GetHeight() / 2.0f, 0.0f);
    mBuyButton = new layer::Layer;
    mBuyButton->SetPosition(buyPlace.x + buyWidth / 2.0f, buyPlace.y + buyHeight / 2.0f, 0.0f);
    mBuyButton->AddChild(mBuyInactive);
    mBuyButton->AddChild(mBuyActive);
    mPlate->AddChild(mBuyButton);

    mStepText = MakeText(GameWindow::kFontMain32_2, kTextWidth, plateWidth / 2.0f + kStepTextShiftX, kStepTextY);
    mPlate->AddChild(mStepText);
    mGem = MakePicture(layout, L"item_plate/grem", origin);
    mPlate->AddChild(mGem);
    mPrice = MakeText(GameWindow::kFontNormal, kPriceWidth, kPriceX, kPriceY);
    mPlate->AddChild(mPrice);

    mBuyActive->mVisible = false;
    Refresh();
}

HUDUpgradePlate::~HUDUpgradePlate()
{
    DetachLayerFromParent(mPlate);
    Delete(mIcon);
    Delete(mName);
    Delete(mClearStar);
    for (layer::ImageLayer*& pip : mPips)
        Delete(pip);
    Delete(mBuyActive);
    Delete(mBuyInactive);
    Delete(mBuyButton);
    Delete(mStepText);
    Delete(mGem);
    Delete(mPrice);
    Delete(mPlate);
}

int HUDUpgradePlate::PipCount(const NQUpgrade& upgrade) const
{
    // A one-step upgrade fills every slot once bought; longer ones get a pip
    // per step, as many as there are slots.
    if (upgrade.steps.size() == 1)
        return kPipSlots;
    return std::min(int(upgrade.steps.size()), kPipSlots);
}

NQUpgrade* HUDUpgradePlate::FindUpgrade() const
{
    const NQMap* map = Map();
    if (!map || !map->mUpgradeTable)
        return nullptr;
    const auto& upgrades = map->mUpgradeTable->mUpgrades;
    const auto found = std::find_if(upgrades.begin(), upgrades.end(),
                                    [this](const NQUpgrade* upgrade) { return upgrade->id == mUpgradeId; });
    return found == upgrades.end() ? nullptr : *found;
}

void HUDUpgradePlate::Refresh()
{
    const int32_t level = BoughtLevel(mUpgradeId);
    const NQUpgrade* upgrade = FindUpgrade();
    // A table reloaded without this upgrade leaves the plate as it was.
    if (!upgrade)
        return;

    const bool oneStep = upgrade->steps.size() == 1;
    for (int i = 0; i < kPipSlots; ++i)
    {
        if (mPips[i])
            mPips[i]->mVisible = oneStep ? level > -1 : i <= level;
    }

    const int32_t next = NextStep(level);
    const NQUpgradeStep* step = upgrade->GetStep(next);
    if (!step)
    {
        mComplete = 1;
        mBuyActive->mVisible = false;
        mBuyInactive->mVisible = false;
        mPrice->mVisible = false;
        mGem->mVisible = false;
        SetText(mStepText, LocalText(UpgradeKey(mUpgradeId, L"_complete")), true);
        return;
    }

    mComplete = 0;
    mBuyInactive->mVisible = true;
    mPrice->mVisible = true;
    mGem->mVisible = true;
    SetText(mPrice, std::to_wstring(step->gemPrice), false);
    NQProgress* progress = Progress();
    const bool affordable = progress && progress->GetGems() >= step->gemPrice;
    if (!affordable)
        mBuyActive->mVisible = false;
    mPrice->mColor = affordable ? math::Point4{1.0f, 1.0f, 1.0f, 1.0f}
                                : math::Point4{kShortColour[0], kShortColour[1], kShortColour[2], 1.0f};
    mPrice->mTintAmount = 1.0f;
    SetText(mStepText, LocalText(UpgradeKey(mUpgradeId, L"_step" + std::to_wstring(next))), true);
}

bool HUDUpgradePlate::HitTestBuy(int x, int y) const
{
    if (y < kVisibleTop || y > kVisibleBottom)
        return false;
    // The list layer moves only vertically; the plate's own place is in it.
    const layer::Layer* list = mPlate->GetParent();
    const float listY = list ? list->mPosition.y : 0.0f;
    const float listX = list ? list->mPosition.x : 0.0f;
    const float left =
        std::trunc(mBuyButton->mPosition.x + mBuyActive->mPosition.x) + mPlate->mPosition.x + listX;
    const float top = std::trunc(mBuyButton->mPosition.y + mBuyActive->mPosition.y) + listY + mPlate->mPosition.y;
    const float inset = float(kBuyInset);
    const float px = float(x);
    const float py = float(y);
    return py > top + inset && py < top + mBuyActive->GetHeight() - inset && px > left + inset &&
           px < left + mBuyActive->GetWidth() - inset;
}

void HUDUpgradePlate::OnMouseMove(int x, int y)
{
    if (mComplete)
        return;
    mHovered = HitTestBuy(x, y) ? 1 : 0;
    mBuyActive->mVisible = mHovered != 0;
}

void HUDUpgradePlate::OnMouseDown(int, int)
{
}

void HUDUpgradePlate::OnMouseUp(int x, int y)
{
    if (!HitTestBuy(x, y))
        return;
    k2::SoundTags::Instance()->Play(kClickSound);
    Buy();
}

void HUDUpgradePlate::Buy()
{
    if (mComplete)
        return;
    NQMap* map = Map();
    NQProgress* progress = Progress();
    if (map && progress && map->mEconomy)
    {
        const int32_t level = progress->GetUpgradeLevel(mUpgradeId);
        const NQUpgrade* upgrade = FindUpgrade();
        const NQUpgradeStep* step = upgrade ? upgrade->GetStep(NextStep(level)) : nullptr;
        if (step && map->mEconomy->mGems >= step->gemPrice)
        {
            progress->SetUpgradeLevel(mUpgradeId, NextStep(level));
            map->mEconomy->SpendGems(step->gemPrice);
            Refresh();
            progress->Save();
        }
    }
    // Affordability of every plate follows the gem count.
    if (map && map->mHud)
        map->mHud->RefreshTopWindow();
}

void HUDUpgradePlate::Update(float dt)
{
    if (mHovered)
        mButtonScale = std::min(mButtonScale + dt * kGrowRate, kHoverScale);
    else
        mButtonScale = std::max(mButtonScale - dt * kShrinkRate, kRestScale);
    mBuyButton->SetScale(mButtonScale, mButtonScale, 1.0f);
}
