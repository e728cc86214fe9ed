#include "Game/Hud/HUDLayerButton.h"

#include "Core/Render/Image.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/GameWindow.h"
#include "Game/Hud/LayerFonts.h"

#include <algorithm>

namespace
{
constexpr int kAlignCentre = 2;
constexpr int kLabelLayoutOption = 2;

layer::ImageLayer* CentredPicture(render::Image* picture)
{
    auto* image = new layer::ImageLayer(picture, false);
    if (picture)
        image->SetPosition(-0.5f * float(picture->GetWidth()), -0.5f * float(picture->GetHeight()), 0.0f);
    return image;
}
} // namespace

HUDLayerButton::HUDLayerButton(NQFrameEntry* lower, NQFrameEntry* upper, const std::wstring& label)
    : mLowerPicture(lower ? lower->mPicture : nullptr)
    , mUpperPicture(upper ? upper->mPicture : nullptr)
{
    mLowerLayer = CentredPicture(mLowerPicture);
    mUpperLayer = CentredPicture(mUpperPicture);
    mLabelLayer = new layer::TextLayer(LayerFont(GameWindow::kFontNormal), label, kLabelWidth, 0.0f, kLabelLayoutOption, true);
    mLabelLayer->SetAlignment(kAlignCentre, kAlignCentre);
    AddChild(mLowerLayer);
    AddChild(mUpperLayer);
    AddChild(mLabelLayer);
}

HUDLayerButton::~HUDLayerButton()
{
    delete mLabelLayer;
    mLabelLayer = nullptr;
    delete mUpperLayer;
    mUpperLayer = nullptr;
    delete mLowerLayer;
    mLowerLayer = nullptr;
}

bool HUDLayerButton::HitTest(int x, int y) const
{
    if (!mVisible || !mLowerPicture)
        return false;
    const float left = mPosition.x + mLowerLayer->mPosition.x;
    const float top = mPosition.y + mLowerLayer->mPosition.y;
    const float px = float(x);
    const float py = float(y);
    return px > left && px < left + float(mLowerPicture->GetWidth()) && py > top &&
           py < top + float(mLowerPicture->GetHeight());
}

void HUDLayerButton::OnMouseMove(int x, int y) { mHovered = HitTest(x, y) ? 1 : 0; }

void HUDLayerButton::Update(float dt)
{
    if (mHovered)
        mButtonScale = std::min(mButtonScale + kGrowPerSecond * dt, kMaxScale);
    else
        mButtonScale = std::max(mButtonScale - kShrinkPerSecond * dt, 1.0f);
    SetScale(mButtonScale, mButtonScale, mButtonScale);
}

void HUDLayerButton::OnClick(int, int) {}
