#pragma once

// The draw context: binds the renderer to the back buffer or a render
// target and carries what later draws read (colour, tint, font, textured
// shader, world transform). Draw operations return armed records that
// submit their geometry when they are destroyed.
#include "Core/Render/Buffer.h"
#include "Core/Render/DrawCustomParam.h"
#include "Core/Render/DrawImageParam.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/RenderState.h"
#include "Core/Render/Vertices.h"

#include <cstdint>
#include <string>

namespace math
{
class Matrix4;
class Transform3D;
} // namespace math

namespace render
{
class Font;
class Image;
class ParticleEmitter;
class DrawParticlesParam;
class Render;
class RenderTarget;
class Shader;
class ShaderTextured;

using GeomVertexRange = BufferRange<VertexBuffer<SVertexGeom>>;
using IndexRange16 = BufferRange<IndexBuffer<unsigned short>>;

class Graphics
{
    friend class GraphicsFriend;

public:
    // The back buffer.
    explicit Graphics(Render* render);
    // The target's texture; outside a frame the context begins one and
    // owns it.
    explicit Graphics(RenderTarget* target);
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
    // Ends and replays an owned frame.
    ~Graphics();

    // Replays what an owned frame recorded so far and opens a new one.
    int Flush();
    int Clear(int flags, const float colour[4], float z, int stencil);

    int SetBlendMode(int mode);
    void SetColor(const float rgba[4]);
    void SetColor(float r, float g, float b, float a);
    // 1 the multiplying shader, 2 the tinting shader; others change nothing.
    int SetShaderMode(int mode);
    // Mode 0; null goes back to the multiplying shader.
    int SetShader(ShaderTextured* shader);
    // x, y, width, height in logical units.
    void SetScissorRect(const float rect[4]);
    void SetScissorRect(float x, float y, float width, float height);
    void ResetScissor();
    const math::Matrix4* GetProjection() const;

    int ApplyWorldTransform(void* vertices, const VertexFormat* format, unsigned count);
    int ApplyHalfPixelOffset(void* vertices, const VertexFormat* format, unsigned count);

    // The picture and the text are held by reference: they must outlive the record.
    DrawUntransformedParam<DrawImageParam> DrawImage(const Image& image);
    DrawUntransformedParam<DrawImageParam> DrawImageSource(const Image& image, const float source[4]);
    DrawTransform2DParam<DrawImageParam> DrawImagePart(const Image& image, const float source[4],
                                                       const float dest[4]);
    DrawTransform2DParam<DrawImageParam> DrawImageInRect(const Image& image, const float dest[4]);
    DrawUntransformedParam<DrawTextParam> DrawText(const std::wstring& text);
    DrawUntransformedParam<DrawTextParam> DrawTextBox(const std::wstring& text, float wrapWidth,
                                                      float firstLineIndent, int alignment, bool letterJustify);
    // Particle draws are declared here by the particle effects.

    DrawUntransformedParam<DrawCustomParam> DrawLine(const float p0[2], const float p1[2]);
    DrawUntransformedParam<DrawCustomParam> FillRect(const float rect[4]);
    DrawUntransformedParam<DrawCustomParam> FillRect(float x, float y, float w, float h);
    // SVertexGeom vertices already reserved in the caches.
    DrawUntransformedParam<DrawCustomParam> MakeCustomDraw(int primitiveType, void* vertices,
                                                           const GeomVertexRange& vertexRange, Shader* shader);
    DrawUntransformedParam<DrawCustomParam> MakeCustomDrawIndexed(int primitiveType, void* vertices,
                                                                  const IndexRange16& indexRange,
                                                                  const GeomVertexRange& vertexRange,
                                                                  Shader* shader);

    Render* GetRender() const { return mRender; }
    RenderTarget* GetTarget() const { return mTarget; }
    Shader* GetGeomShader() const { return mGeomShader; }
    const RenderState& GetState() const { return mState; }
    bool IsDirty() const { return mDirty != 0; }
    bool OwnsFrame() const { return mOwnsFrame != 0; }

private:
    void Reset(Render* render);

    Render* mRender = nullptr;
    RenderTarget* mTarget = nullptr;
    Shader* mGeomShader = nullptr;

public:
    // Layers save, change and restore these around their own drawing.
    ShaderTextured* mTexturedShader = nullptr;

private:
    RenderState mState;
    uint8_t mDirty = 1;

public:
    Font* mFont = nullptr;
    int mTexturedShaderMode = 0; // 0 own shader, 1 multiplying, 2 tinting
    float mColor[4] = {1, 1, 1, 1};
    float mTint = 0; // 0 the texture's colours, 1 the flat colour (tinting shader)
    math::Transform3D* mWorldTransform = nullptr;

private:
    uint8_t mOwnsFrame = 0;
};
} // namespace render
