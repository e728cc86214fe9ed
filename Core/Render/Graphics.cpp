#include "Core/Render/Graphics.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/ColorARGB.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Texture.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/VertexTransform.h"

namespace render
{
Graphics::Graphics(Render* render) { Reset(render); }

Graphics::Graphics(RenderTarget* target)
{
    Reset(target->GetTexture()->GetRender());
    mTarget = target;
    if (!mRender->IsInFrame())
    {
        mRender->BeginFrame();
        mOwnsFrame = 1;
    }
    mState.mTarget = target->GetTexture();
    mState.mScaleX = target->GetMapScaleX();
    mState.mScaleY = target->GetMapScaleY();
    mState.mOffsetX = target->GetMapOffsetX();
    mState.mOffsetY = target->GetMapOffsetY();
}

void Graphics::Reset(Render* render)
{
    mRender = render;
    mState = RenderState();
    mDirty = 1;
    resource::ResourceHandle<Shader> geom;
    if (mRender->GetGeomShader(geom) == HV_OK)
        mGeomShader = geom.Get();
    mTexturedShaderMode = 1;
    resource::ResourceHandle<ShaderTextured> textured;
    if (mRender->GetTexturedMultShader(textured) == HV_OK)
        mTexturedShader = textured.Get();
    mState.mBlendMode = kBlendAlpha;
    mState.mScaleX = mRender->GetScaleX();
    mState.mScaleY = mRender->GetScaleY();
    mState.mOffsetX = mRender->GetOffsetX();
    mState.mOffsetY = mRender->GetOffsetY();
}

Graphics::~Graphics()
{
    if (!mOwnsFrame)
        return;
    mRender->EndFrame();
    mRender->ExecuteCommands();
}

int Graphics::Flush()
{
    // The streaming buffers stay locked until the frame ends, and the
    // pending draw is recorded only then: replay a whole frame.
    if (!mOwnsFrame)
        return HV_OK;
    mRender->EndFrame();
    mRender->ExecuteCommands();
    mRender->BeginFrame();
    return HV_OK;
}

int Graphics::Clear(int flags, const float colour[4], float z, int stencil)
{
    const HVResultEnum result = mRender->SetTarget(&mState);
    if (result != HV_OK)
        return result;
    return mRender->Clear(uint32_t(flags), colour, z, stencil);
}

int Graphics::SetBlendMode(int mode)
{
    mState.mBlendMode = mode;
    mDirty = 1;
    return HV_OK;
}

void Graphics::SetColor(const float rgba[4]) { SetColor(rgba[0], rgba[1], rgba[2], rgba[3]); }

void Graphics::SetColor(float r, float g, float b, float a)
{
    mColor[0] = r;
    mColor[1] = g;
    mColor[2] = b;
    mColor[3] = a;
}

int Graphics::SetShaderMode(int mode)
{
    if (mode == mTexturedShaderMode || (mode != 1 && mode != 2))
        return HV_OK;
    mTexturedShaderMode = mode;
    resource::ResourceHandle<ShaderTextured> shader;
    const HVResultEnum result =
        mode == 1 ? mRender->GetTexturedMultShader(shader) : mRender->GetTexturedTintShader(shader);
    if (result == HV_OK)
        mTexturedShader = shader.Get();
    return result;
}

int Graphics::SetShader(ShaderTextured* shader)
{
    mTexturedShaderMode = 0;
    if (shader)
    {
        mTexturedShader = shader;
        return HV_OK;
    }
    resource::ResourceHandle<ShaderTextured> multiply;
    const HVResultEnum result = mRender->GetTexturedMultShader(multiply);
    if (result == HV_OK)
        mTexturedShader = multiply.Get();
    return result;
}

void Graphics::SetScissorRect(const float rect[4]) { SetScissorRect(rect[0], rect[1], rect[2], rect[3]); }

void Graphics::SetScissorRect(float x, float y, float width, float height)
{
    mState.mScissorEnabled = 1;
    mState.mScissorRect[0] = x;
    mState.mScissorRect[1] = y;
    mState.mScissorRect[2] = width;
    mState.mScissorRect[3] = height;
    mDirty = 1;
}

void Graphics::ResetScissor()
{
    mState.mScissorEnabled = 0;
    mDirty = 1;
}

const math::Matrix4* Graphics::GetProjection() const
{
    return mTarget ? &mTarget->GetProjection() : &mRender->GetProjection();
}

int Graphics::ApplyWorldTransform(void* vertices, const VertexFormat* format, unsigned count)
{
    ApplyTransform3D(vertices, format, count, mWorldTransform);
    return HV_OK;
}

int Graphics::ApplyHalfPixelOffset(void* vertices, const VertexFormat* format, unsigned count)
{
    ApplyHalfPixel(vertices, format, count);
    return HV_OK;
}

DrawUntransformedParam<DrawImageParam> Graphics::DrawImage(const Image& image)
{
    return DrawUntransformedParam<DrawImageParam>(DrawImageParam(this, &image));
}

DrawUntransformedParam<DrawImageParam> Graphics::DrawImageSource(const Image& image, const float source[4])
{
    DrawImageParam body(this, &image);
    body.SetSource(source);
    return DrawUntransformedParam<DrawImageParam>(body);
}

DrawTransform2DParam<DrawImageParam> Graphics::DrawImagePart(const Image& image, const float source[4],
                                                             const float dest[4])
{
    auto record = DrawImageSource(image, source);
    auto stretched = record.Scale(dest[2] / source[2], dest[3] / source[3]);
    stretched.GetTransform().Translate(dest[0], dest[1]);
    return stretched;
}

DrawTransform2DParam<DrawImageParam> Graphics::DrawImageInRect(const Image& image, const float dest[4])
{
    auto record = DrawImage(image);
    auto stretched = record.Scale(dest[2] / float(image.GetPixelWidth()), dest[3] / float(image.GetPixelHeight()));
    stretched.GetTransform().Translate(dest[0], dest[1]);
    return stretched;
}

DrawUntransformedParam<DrawTextParam> Graphics::DrawText(const std::wstring& text)
{
    return DrawUntransformedParam<DrawTextParam>(DrawTextParam(this, &text));
}

DrawUntransformedParam<DrawTextParam> Graphics::DrawTextBox(const std::wstring& text, float wrapWidth,
                                                            float firstLineIndent, int alignment, bool letterJustify)
{
    DrawTextParam body(this, &text);
    body.mLayout.wrapWidth = wrapWidth;
    body.mLayout.firstLineIndent = firstLineIndent;
    body.mLayout.alignment = alignment;
    body.mLayout.letterJustify = letterJustify ? 1 : 0;
    return DrawUntransformedParam<DrawTextParam>(body);
}

namespace
{
// A reservation that failed: a record that draws nothing.
DrawUntransformedParam<DrawCustomParam> NoDraw(Graphics* context, int type)
{
    return DrawUntransformedParam<DrawCustomParam>(
        DrawCustomParam(context, type, nullptr, &SVertexGeom::Format, 0, 0, nullptr, nullptr), false);
}
} // namespace

DrawUntransformedParam<DrawCustomParam> Graphics::DrawLine(const float p0[2], const float p1[2])
{
    auto* cache = GetVertexCache<SVertexGeom>(mRender);
    SVertexGeom* v = nullptr;
    GeomVertexRange range;
    if (!cache || cache->Reserve(2, &v, range) != HV_OK || !v)
        return NoDraw(this, 1);
    const uint32_t colour = ColorToARGB(mColor);
    v[0] = SVertexGeom{p0[0], p0[1], 0, colour};
    v[1] = SVertexGeom{p1[0], p1[1], 0, colour};
    return MakeCustomDraw(1, v, range, mGeomShader);
}

DrawUntransformedParam<DrawCustomParam> Graphics::FillRect(const float rect[4])
{
    return FillRect(rect[0], rect[1], rect[2], rect[3]);
}

DrawUntransformedParam<DrawCustomParam> Graphics::FillRect(float x, float y, float w, float h)
{
    auto* cache = GetVertexCache<SVertexGeom>(mRender);
    auto* indexCache = mRender->GetIndexCache16();
    SVertexGeom* v = nullptr;
    unsigned short* indices = nullptr;
    GeomVertexRange range;
    IndexRange16 indexRange;
    if (!cache || !indexCache || cache->Reserve(4, &v, range) != HV_OK || !v ||
        indexCache->Reserve(6, &indices, indexRange) != HV_OK || !indices)
        return NoDraw(this, 3);
    const uint32_t colour = ColorToARGB(mColor);
    v[0] = SVertexGeom{x, y, 0, colour};
    v[1] = SVertexGeom{x + w, y, 0, colour};
    v[2] = SVertexGeom{x + w, y + h, 0, colour};
    v[3] = SVertexGeom{x, y + h, 0, colour};
    const unsigned short f = static_cast<unsigned short>(range.mFirst);
    const unsigned short order[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i)
        indices[i] = static_cast<unsigned short>(f + order[i]);
    return MakeCustomDrawIndexed(3, v, indexRange, range, mGeomShader);
}

DrawUntransformedParam<DrawCustomParam> Graphics::MakeCustomDraw(int primitiveType, void* vertices,
                                                                 const GeomVertexRange& vertexRange, Shader* shader)
{
    return DrawUntransformedParam<DrawCustomParam>(
        DrawCustomParam(this, primitiveType, vertices, &SVertexGeom::Format, int(vertexRange.mFirst),
                        int(vertexRange.mCount), vertexRange.mBuffer ? vertexRange.mBuffer->mImpl : nullptr, shader));
}

DrawUntransformedParam<DrawCustomParam> Graphics::MakeCustomDrawIndexed(int primitiveType, void* vertices,
                                                                        const IndexRange16& indexRange,
                                                                        const GeomVertexRange& vertexRange,
                                                                        Shader* shader)
{
    return DrawUntransformedParam<DrawCustomParam>(DrawCustomParam(
        this, primitiveType, vertices, &SVertexGeom::Format, int(vertexRange.mFirst), int(vertexRange.mCount),
        vertexRange.mBuffer ? vertexRange.mBuffer->mImpl : nullptr, shader, int(indexRange.mFirst),
        int(indexRange.mCount), indexRange.mBuffer ? indexRange.mBuffer->mImpl : nullptr));
}
} // namespace render
