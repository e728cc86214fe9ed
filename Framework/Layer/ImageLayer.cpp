#include "Framework/Layer/ImageLayer.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Framework/Layer/LayerDrawScope.h"

namespace layer
{
namespace
{
// Where the picture starts along one axis, relative to the layer's origin.
float AlignedStart(int alignment, float size)
{
    switch (alignment)
    {
    case ImageLayer::ALIGN_FAR: return -size;
    case ImageLayer::ALIGN_CENTRE: return -size / 2;
    default: return 0.0f;
    }
}
} // namespace

ImageLayer::ImageLayer() { SetHitRectEnabled(true); }

ImageLayer::ImageLayer(render::Image* image, bool owns) : ImageLayer() { SetImage(image, owns); }

ImageLayer::~ImageLayer() { SetImage(nullptr, false); }

void ImageLayer::SetImage(render::Image* image, bool owns)
{
    // The same picture again must not be deleted under the new owner.
    if (mImage && mOwnsImage && mImage != image)
    {
        mImage->Release();
        delete mImage;
    }
    mImage = image;
    mOwnsImage = owns;
    InvalidateHitRect();
}

void ImageLayer::SetAlignment(int horizontal, int vertical)
{
    if (horizontal == mHorizontalAlignment && vertical == mVerticalAlignment)
        return;
    mHorizontalAlignment = horizontal;
    mVerticalAlignment = vertical;
    InvalidateHitRect();
}

float ImageLayer::GetWidth() const { return mImage ? float(mImage->GetWidth()) : 0.0f; }

float ImageLayer::GetHeight() const { return mImage ? float(mImage->GetHeight()) : 0.0f; }

HVResultEnum ImageLayer::Draw(render::Graphics* g)
{
    if (!mImage || !g)
        return HV_OK;
    LayerDrawScope scope(*g, *this, mAdditive ? 2 : 1, false);
    g->DrawImage(*mImage)->SetAnchor(mHorizontalAlignment, mVerticalAlignment);
    return HV_OK;
}

void ImageLayer::UpdateHitRect()
{
    if (!mImage)
    {
        mHitRect = math::BoundingBox();
        return;
    }
    const float w = GetWidth(), h = GetHeight();
    const float x = AlignedStart(mHorizontalAlignment, w), y = AlignedStart(mVerticalAlignment, h);
    mHitRect = math::BoundingBox(math::Vector3(x, y, 0.0f), math::Vector3(x + w, y + h, 0.0f));
}

bool ImageLayer::HitTestPoint(const math::Vector3& point)
{
    if (!mImage)
        return false;
    const float x = point.x - AlignedStart(mHorizontalAlignment, GetWidth());
    const float y = point.y - AlignedStart(mVerticalAlignment, GetHeight());
    return mImage->HitTest(int(x + 0.5f), int(y + 0.5f));
}
} // namespace layer
