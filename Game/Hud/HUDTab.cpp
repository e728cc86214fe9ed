#include "Game/Hud/HUDTab.h"

#include "Core/Base/ImageInfo.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/GameWindow.h"
#include "Game/Hud/LayerFonts.h"

#include <algorithm>

namespace
{
constexpr int kAlignCentre = 2;
constexpr int kLabelLayoutOption = 2;
constexpr float kLabelWrap = 211.0f;
// The label sits this far below the picture's middle.
constexpr float kLabelDrop = 6.0f;

void DeleteLayer(layer::Layer*& child)
{
    DetachLayerFromParent(child);
    delete child;
    child = nullptr;
}
} // namespace

HUDTab::HUDTab(file::ImageContainer* layout, const std::wstring& name)
{
    mRoot = new layer::Layer;
    mInner = new layer::Layer;
    mActive = new layer::ImageLayer;
    mInactive = new layer::ImageLayer;
    InitImageLayerFromContainer(mActive, layout, kActivePicture, 0.0f, 0.0f);
    InitImageLayerFromContainer(mInactive, layout, kInactivePicture, 0.0f, 0.0f);
    mActive->SetPosition(0.0f, 0.0f, 0.0f);
    mInactive->SetPosition(0.0f, 0.0f, 0.0f);

    // Sizes from the layout: the pictures do not load without a renderer.
    int inactiveWidth = 0;
    int inactiveHeight = 0;
    if (const base::ImageInfo* info = FindContainerImage(layout, kActivePicture))
    {
        mWidth = info->w;
        mHeight = info->h;
    }
    if (const base::ImageInfo* info = FindContainerImage(layout, kInactivePicture))
    {
        inactiveWidth = info->w;
        inactiveHeight = info->h;
    }

    mLabel = new layer::TextLayer(LayerFont(GameWindow::kFontMain42_1), LocalStrings::Instance()->Get(name),
                                  kLabelWrap, 0.0f, kLabelLayoutOption, true);
    mLabel->SetAlignment(kAlignCentre, kAlignCentre);
    mLabel->SetPosition(float(mWidth) / 2.0f, float(mHeight) / 2.0f + kLabelDrop, 0.0f);
    mLabel->SnapToPixels();

    mInner->AddChild(mInactive);
    mInner->AddChild(mActive);
    mInner->AddChild(mLabel);
    mInner->SetPosition(float(-(inactiveWidth / 2)), float(-inactiveHeight), 0.0f);
    mRoot->AddChild(mInner);
}

HUDTab::~HUDTab()
{
    layer::Layer* label = mLabel;
    layer::Layer* active = mActive;
    layer::Layer* inactive = mInactive;
    DeleteLayer(label);
    DeleteLayer(active);
    DeleteLayer(inactive);
    DeleteLayer(mInner);
    DeleteLayer(mRoot);
    mLabel = nullptr;
    mActive = nullptr;
    mInactive = nullptr;
}

void HUDTab::Select()
{
    mLabel->SetFont(LayerFont(GameWindow::kFontNormal));
    mSelected = 1;
    mScale = kSelectedScale;
    mInactive->mVisible = false;
    mActive->mVisible = true;
}

void HUDTab::Deselect()
{
    mLabel->SetFont(LayerFont(GameWindow::kFontMain32_2));
    mHovered = 0;
    mSelected = 0;
    mInactive->mVisible = true;
    mActive->mVisible = false;
}

bool HUDTab::HitTest(int x, int y) const
{
    if (!mEnabled)
        return false;
    const int halfWidth = mWidth / 2;
    const float rootX = mRoot->mPosition.x;
    const float rootY = mRoot->mPosition.y;
    const float px = float(x);
    const float py = float(y);
    return px > rootX - float(halfWidth) && px < rootX + float(halfWidth) && py > rootY - float(mHeight) &&
           py < rootY;
}

void HUDTab::OnMouseMove(int x, int y)
{
    // The selected tab keeps its look whatever the pointer does.
    if (mSelected)
        return;
    mHovered = HitTest(x, y) ? 1 : 0;
}

void HUDTab::Update(float dt)
{
    if (!mSelected)
    {
        mActive->mVisible = mHovered != 0;
        mInactive->mVisible = mHovered == 0;
        if (mHovered)
            mScale = std::min(mScale + dt * kGrowPerSecond, kSelectedScale);
        else
            mScale = std::max(mScale - dt * kShrinkPerSecond, kRestScale);
    }
    mRoot->SetScale(mScale, mScale, 1.0f);
}
