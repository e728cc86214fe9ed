#include "Framework/Layer/RectHitLayer.h"

namespace layer
{
RectHitLayer::RectHitLayer() { SetHitRectEnabled(true); }

RectHitLayer::RectHitLayer(float x, float y, float width, float height)
    : mX(x)
    , mY(y)
    , mWidth(width)
    , mHeight(height)
{
    SetHitRectEnabled(true);
}

void RectHitLayer::SetRect(float x, float y, float width, float height)
{
    mX = x;
    mY = y;
    mWidth = width;
    mHeight = height;
    InvalidateHitRect();
}

void RectHitLayer::UpdateHitRect()
{
    mHitRect = math::BoundingBox(math::Vector3(mX, mY, 0.0f), math::Vector3(mX + mWidth, mY + mHeight, 0.0f));
}

bool RectHitLayer::HitTestPoint(const math::Vector3&) { return true; }
} // namespace layer
