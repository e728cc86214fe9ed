#pragma once

// The image draw body: a picture (or its source rectangle) as one textured
// quad, anchored and flipped as set through its record.
#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/GraphicsFriend.h"

#include <cstdint>

namespace render
{
class Image;

class DrawImageParam : public GraphicsFriend
{
public:
    // Anchors 0 (left, top), no flips, the whole picture.
    DrawImageParam(Graphics* context, const Image* image);

    int Draw(DrawParam* transform);

    // 0 left or top, 1 right or bottom, 2 centre.
    void SetAnchor(int horizontal, int vertical)
    {
        mAnchorX = horizontal;
        mAnchorY = vertical;
    }
    void SetFlip(bool x, bool y)
    {
        mFlipX = x;
        mFlipY = y;
    }
    // x, y, width, height in picture pixels.
    void SetSource(const float source[4])
    {
        for (int i = 0; i < 4; ++i)
            mSource[i] = source[i];
    }

    const Image* mImage;
    int mAnchorX = 0;
    int mAnchorY = 0;
    uint8_t mFlipX = 0;
    uint8_t mFlipY = 0;
    float mSource[4] = {0, 0, 0, 0};
};

template <>
class DrawParamInterface<TagUntransformed, DrawImageParam>
{
public:
    DrawTransform2DParam<DrawImageParam> Scale(const float s[2]);
    DrawTransform2DParam<DrawImageParam> Scale(float sx, float sy);
    DrawTransform2DParam<DrawImageParam> ScaleUniform(float s);
    DrawTranslate2DParam<DrawImageParam> Translate(const float d[2]);
    DrawTransform2DParam<DrawImageParam> Transform(const math::Transform2D& transform);
};

template <>
class DrawParamInterface<TagTranslate2D, DrawImageParam>
{
public:
    // The offset first, then the scale.
    DrawTransform2DParam<DrawImageParam> Scale(float s);
};
} // namespace render
