#include "Core/Render/DrawTextParam.h"

#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Vertices.h"

#include <cmath>

namespace render
{
DrawTextParam::DrawTextParam(Graphics* context, const std::wstring* text)
    : GraphicsFriend(context), mText(text), mFont(context ? context->mFont : nullptr)
{
}

DrawTextParam::DrawTextParam(Font* font, const std::wstring* text) : mText(text), mFont(font) {}

DrawTextParam::DrawTextParam(const DrawTextParam& other)
    : GraphicsFriend(other.mContext), mText(other.mText), mFont(other.mFont), mLayout(other.mLayout),
      mAlignH(other.mAlignH), mAlignV(other.mAlignV), mWidthOut(other.mWidthOut), mHeightOut(other.mHeightOut),
      mBoxOut(other.mBoxOut)
{
}

int DrawTextParam::Draw(DrawParam* transform)
{
    if (mContext)
        Attach(mContext);
    mTransform = transform;
    if (!mFont || !mText)
        return HV_FAIL;
    const int result = mFont->DrawText(mContext, this, mText, &mLayout, mSize);
    if (result != HV_OK)
        return result;
    const float width = mSize[0], height = mSize[1];
    if (mWidthOut)
        *mWidthOut = width;
    if (mHeightOut)
        *mHeightOut = height;
    if (mBoxOut)
    {
        SVertex2D corners[4] = {};
        const float xy[4][2] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
        for (int i = 0; i < 4; ++i)
        {
            corners[i].x = xy[i][0];
            corners[i].y = xy[i][1];
            corners[i].w = 1;
        }
        const int moved = AlignAndSubmit(corners, &SVertex2D::Format, 4);
        if (moved != HV_OK)
            return moved;
        *mBoxOut = math::BoundingBox();
        for (const SVertex2D& c : corners)
            mBoxOut->Extend(math::Vector3(c.x, c.y, c.z));
    }
    return HV_OK;
}

int DrawTextParam::AlignAndSubmit(void* vertices, const VertexFormat* format, unsigned count)
{
    const float width = mSize[0], height = mSize[1];
    float dx = 0, dy = 0;
    if (mAlignH == 1)
        dx = -width;
    else if (mAlignH == 2)
        dx = std::floor(-width / 2);
    if (mAlignV == 1)
        dy = -height;
    else if (mAlignV == 2)
        dy = -std::floor(height / 2);
    else if (mAlignV == 3 && mFont)
        dy = -mFont->GetBase();
    if (dx != 0 || dy != 0)
        TranslatePositions2D(vertices, format, count, dx, dy);
    if (mTransform)
    {
        const int result = mTransform->TransformVertices(vertices, format, count);
        if (result != HV_OK)
            return result;
    }
    if (mContext)
        return ApplyWorldTransform(vertices, format, count);
    return HV_OK;
}

DrawTranslate2DParam<DrawTextParam> DrawParamInterface<TagUntransformed, DrawTextParam>::Translate(const float d[2])
{
    auto& self = static_cast<DrawUntransformedParam<DrawTextParam>&>(*this);
    return ConvertRecord<DrawTranslate2DParam<DrawTextParam>>(self, d[0], d[1]);
}

DrawTransform2DParam<DrawTextParam> DrawParamInterface<TagUntransformed, DrawTextParam>::ScaleUniform(float s)
{
    return Scale(s, s);
}

DrawTransform2DParam<DrawTextParam> DrawParamInterface<TagUntransformed, DrawTextParam>::Scale(float sx, float sy)
{
    math::Transform2D transform;
    transform.Scale(sx, sy);
    return Transform(transform);
}

DrawTransform2DParam<DrawTextParam>
DrawParamInterface<TagUntransformed, DrawTextParam>::Transform(const math::Transform2D& transform)
{
    auto& self = static_cast<DrawUntransformedParam<DrawTextParam>&>(*this);
    return ConvertRecord<DrawTransform2DParam<DrawTextParam>>(self, transform);
}
} // namespace render
