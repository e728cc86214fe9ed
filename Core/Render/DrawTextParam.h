#pragma once

// The text draw body: a text laid out and drawn by a font. Without a
// context it only measures.
#include "Core/Math/BoundingBox.h"
#include "Core/Math/Transform2D.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/GraphicsFriend.h"
#include "Core/Render/TextLayout.h"

#include <string>

namespace render
{
class Font;

class DrawTextParam : public GraphicsFriend
{
public:
    // Bound to the context, in its current font.
    DrawTextParam(Graphics* context, const std::wstring* text);
    // Measuring only.
    DrawTextParam(Font* font, const std::wstring* text);
    // Re-bound to the source's context; the measured size and the transform
    // being drawn start again from 0.
    DrawTextParam(const DrawTextParam& other);

    int Draw(DrawParam* transform);
    // Moves a batch of vertices by the alignment, the record's transform
    // and the world transform.
    int AlignAndSubmit(void* vertices, const VertexFormat* format, unsigned count);

    // Horizontal 0 left, 1 right, 2 centre; vertical 0 top, 1 bottom, 2 centre, 3 baseline.
    void SetAlign(int horizontal, int vertical)
    {
        mAlignH = horizontal;
        mAlignV = vertical;
    }
    TextLayout& GetLayout() { return mLayout; }
    void SetWidthOut(float* out) { mWidthOut = out; }
    void SetHeightOut(float* out) { mHeightOut = out; }
    void SetBoxOut(math::BoundingBox* out) { mBoxOut = out; }

    const std::wstring* mText;
    Font* mFont;
    TextLayout mLayout;
    int mAlignH = 0;
    int mAlignV = 0;
    // Measured width and height; the font writes them before it draws,
    // so the alignment of every batch knows them.
    float mSize[2] = {0, 0};
    DrawParam* mTransform = nullptr;
    float* mWidthOut = nullptr;
    float* mHeightOut = nullptr;
    math::BoundingBox* mBoxOut = nullptr;
};

template <>
class DrawParamInterface<TagUntransformed, DrawTextParam>
{
public:
    DrawTranslate2DParam<DrawTextParam> Translate(const float d[2]);
    DrawTransform2DParam<DrawTextParam> ScaleUniform(float s);
    DrawTransform2DParam<DrawTextParam> Scale(float sx, float sy);
    DrawTransform2DParam<DrawTextParam> Transform(const math::Transform2D& transform);
};
} // namespace render
