#include "Game/Hud/HUDScrollBar.h"

#include "Core/Base/ImageInfo.h"
#include "Framework/Layer/ImageLayer.h"
#include "Game/Data/ContainerImages.h"

#include <algorithm>

HUDScrollBar::HUDScrollBar(file::ImageContainer* layout)
{
    mRoot = new layer::Layer;
    mBar = new layer::ImageLayer;
    mSlider = new layer::ImageLayer;
    InitImageLayerFromContainer(mBar, layout, kBarPicture, 0.0f, 0.0f);
    InitImageLayerFromContainer(mSlider, layout, kSliderPicture, 0.0f, 0.0f);
    if (const base::ImageInfo* info = FindContainerImage(layout, kSliderPicture))
    {
        mSliderWidth = float(info->w);
        mSliderHeight = float(info->h);
    }
    mRoot->AddChild(mBar);
    mRoot->AddChild(mSlider);
    mSlider->SetY(kSliderTop);
}

HUDScrollBar::~HUDScrollBar()
{
    delete mSlider;
    mSlider = nullptr;
    delete mBar;
    mBar = nullptr;
    delete mRoot;
    mRoot = nullptr;
}

void HUDScrollBar::OnMouseDown(int x, int y)
{
    // Tested whether the owner shows the bar or not.
    const float left = mSlider->mPosition.x;
    const float top = mSlider->mPosition.y;
    const float px = float(x);
    const float py = float(y);
    if (px > left && px < left + mSliderWidth && py > top && py < top + mSliderHeight)
        mGrab = kHeld;
}

void HUDScrollBar::OnMouseMove(int, int y)
{
    if (mGrab != kHeld)
        return;
    const float track = std::clamp(float(y), kTrackTop, kTrackBottom);
    mPosition = (track - kTrackTop) / kTrackLength;
    mSlider->SetY(track - kSliderLift);
}

void HUDScrollBar::OnMouseUp(int, int)
{
    mGrab = kReleased;
}

void HUDScrollBar::Draw(render::Graphics* graphics)
{
    if (graphics)
        mRoot->Render(graphics);
}

void HUDScrollBar::Reset()
{
    mSlider->SetY(kSliderTop);
    mPosition = 0.0f;
}

void HUDScrollBar::SyncSlider()
{
    mSlider->SetY(mPosition * kTrackLength + kTrackTop - kSliderLift);
}
