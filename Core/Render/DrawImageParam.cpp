#include "Core/Render/DrawImageParam.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/QuadVertices.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/Texture.h"

#include <cmath>
#include <utility>

namespace render
{
DrawImageParam::DrawImageParam(Graphics* context, const Image* image) : GraphicsFriend(context), mImage(image)
{
    mSource[2] = float(image->GetPixelWidth());
    mSource[3] = float(image->GetPixelHeight());
}

namespace
{
float AnchorOffset(int anchor, float size)
{
    if (anchor == 1)
        return -size;
    if (anchor == 2)
        return -size / 2;
    return 0;
}
bool IsWhole(float v) { return std::floor(v) == v; }

// Virtual units are pixels of the target, whole pixels apart, through a
// projection that neither rotates nor skews.
bool MapsUnitsToPixels(const RenderState& state, const math::Matrix4& projection)
{
    const float* m = projection.m;
    if (m[0] == 0.0f || m[5] == 0.0f)
        return false;
    return state.mScaleX == 1.0f && state.mScaleY == 1.0f && IsWhole(state.mOffsetX) && IsWhole(state.mOffsetY) &&
           m[1] == 0.0f && m[2] == 0.0f && m[3] == 0.0f && m[4] == 0.0f && m[6] == 0.0f && m[7] == 0.0f &&
           m[11] == 0.0f && m[15] == 1.0f && IsWhole((m[12] + 1.0f) / m[0]) && IsWhole((m[13] - 1.0f) / m[5]);
}

// One texture axis covers `size` pixels with texels of the same size, its
// first edge on a texel edge: every texel centre is a pixel centre.
bool TexelsOnPixels(float first, float second, float size, int32_t textureSize)
{
    const float texels = (second - first) * float(textureSize);
    return std::fabs(texels) == size && IsWhole(first * float(textureSize));
}

// The quad after the half-pixel offset: unscaled, unrotated, its corners on
// pixel edges, so that point sampling reads exactly what linear filtering
// would and saves its cost.
bool IsPixelExact(const SVertex2D* v, float w, float h, const Texture* texture)
{
    if (!texture || texture->GetWidth() <= 0 || texture->GetHeight() <= 0)
        return false;
    for (int i = 0; i < 4; ++i)
        if (v[i].w != 1.0f)
            return false;
    const bool axisAligned = v[0].x == v[3].x && v[1].x == v[2].x && v[0].y == v[1].y && v[2].y == v[3].y &&
                             v[0].u == v[3].u && v[1].u == v[2].u && v[0].v == v[1].v && v[2].v == v[3].v;
    return axisAligned && v[1].x - v[0].x == w && v[3].y - v[0].y == h && IsWhole(v[0].x + 0.5f) &&
           IsWhole(v[0].y + 0.5f) && TexelsOnPixels(v[0].u, v[1].u, w, texture->GetWidth()) &&
           TexelsOnPixels(v[0].v, v[3].v, h, texture->GetHeight());
}
} // namespace

int DrawImageParam::Draw(DrawParam* transform)
{
    ShaderTextured* shader = mContext ? mContext->mTexturedShader : nullptr;
    auto* vertexCache = mRender ? GetVertexCache<SVertex2D>(mRender) : nullptr;
    auto* indexCache = mRender ? mRender->GetIndexCache16() : nullptr;
    if (!mImage || !shader || !vertexCache || !indexCache)
        return HV_FAIL;
    SVertex2D* v = nullptr;
    uint16_t* indices = nullptr;
    BufferRange<VertexBuffer<SVertex2D>> vertexRange;
    BufferRange<IndexBuffer<unsigned short>> indexRange;
    int result = vertexCache->Reserve(4, &v, vertexRange);
    if (result == HV_OK)
        result = indexCache->Reserve(6, &indices, indexRange);
    if (result != HV_OK)
        return result;

    const float w = mSource[2], h = mSource[3];
    const float dx = AnchorOffset(mAnchorX, w), dy = AnchorOffset(mAnchorY, h);
    const float c0[4] = {dx, dy, 0, 1};
    const float c1[4] = {dx + w, dy + h, 0, 1};
    const float imageWidth = float(mImage->GetPixelWidth()), imageHeight = float(mImage->GetPixelHeight());
    float t0[2] = {mSource[0] / imageWidth, mSource[1] / imageHeight};
    float t1[2] = {(mSource[0] + w) / imageWidth, (mSource[1] + h) / imageHeight};
    if (mFlipX)
        std::swap(t0[0], t1[0]);
    if (mFlipY)
        std::swap(t0[1], t1[1]);
    FillQuadVertices(v, indices, int(vertexRange.mFirst), c0, c1, t0, t1);
    result = mImage->MapUV(v, 4, 0, &SVertex2D::Format);
    if (result != HV_OK)
        return result;
    FillVertexColour(v, 4, mContext->mColor);
    FillVertexTint(v, 4, mContext->mTint);

    if (transform)
        result = transform->TransformVertices(v, &SVertex2D::Format, 4);
    if (result == HV_OK)
        result = ApplyWorldTransform(v, &SVertex2D::Format, 4);
    if (result == HV_OK)
        result = ApplyHalfPixelOffset(v, &SVertex2D::Format, 4);
    if (result != HV_OK)
        return result;

    // Only the built-in shaders sample exactly at the vertices' coordinates.
    const bool builtIn =
        shader == mRender->GetTexturedMultShaderObject() || shader == mRender->GetTexturedTintShaderObject();
    const bool exact = builtIn && MapsUnitsToPixels(*mState, *mContext->GetProjection()) &&
                       IsPixelExact(v, w, h, mImage->GetTexture());
    SetVertexBuffer(vertexRange.mBuffer->mImpl);
    SetIndexBuffer(indexRange.mBuffer->mImpl);
    SetShader(shader->GetImpl());
    SetFilter(exact ? kFilterPoint : kFilterLinear);
    result = ApplyState();
    // Every other draw of the context samples linearly.
    SetFilter(kFilterLinear);
    if (result != HV_OK)
        return result;
    shader->SetTexture(mImage);
    result = SetProjection(shader);
    if (result != HV_OK)
        return result;
    return mRender->DrawIndexedPrimitive(kPrimitiveTriangles, indexRange.mFirst, 2, vertexRange.mFirst, 4);
}

using UntransformedImage = DrawParamInterface<TagUntransformed, DrawImageParam>;

DrawTransform2DParam<DrawImageParam> UntransformedImage::Scale(const float s[2]) { return Scale(s[0], s[1]); }

DrawTransform2DParam<DrawImageParam> UntransformedImage::Scale(float sx, float sy)
{
    math::Transform2D transform;
    transform.Scale(sx, sy);
    return Transform(transform);
}

DrawTransform2DParam<DrawImageParam> UntransformedImage::ScaleUniform(float s) { return Scale(s, s); }

DrawTranslate2DParam<DrawImageParam> UntransformedImage::Translate(const float d[2])
{
    auto& self = static_cast<DrawUntransformedParam<DrawImageParam>&>(*this);
    return ConvertRecord<DrawTranslate2DParam<DrawImageParam>>(self, d[0], d[1]);
}

DrawTransform2DParam<DrawImageParam> UntransformedImage::Transform(const math::Transform2D& transform)
{
    auto& self = static_cast<DrawUntransformedParam<DrawImageParam>&>(*this);
    return ConvertRecord<DrawTransform2DParam<DrawImageParam>>(self, transform);
}

DrawTransform2DParam<DrawImageParam> DrawParamInterface<TagTranslate2D, DrawImageParam>::Scale(float s)
{
    auto& self = static_cast<DrawTranslate2DParam<DrawImageParam>&>(*this);
    math::Transform2D transform;
    transform.Translate(self.mX, self.mY);
    transform.Scale(s, s);
    return ConvertRecord<DrawTransform2DParam<DrawImageParam>>(self, transform);
}
} // namespace render
