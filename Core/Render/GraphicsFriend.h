#pragma once

// How geometry submitters (draw bodies, fonts, particle emitters) reach a
// draw context: its state block, its renderer and its vertex passes.
#include "Core/Base/Result.h"

#include <cstdint>

namespace render
{
class Graphics;
class Render;
struct RenderState;
class Shader;
class ShaderImpl;
class VertexBufferImpl;
class IndexBufferImpl;
class VertexFormat;

class GraphicsFriend
{
public:
    GraphicsFriend() = default;
    explicit GraphicsFriend(Graphics* context) { Attach(context); }
    // Copies stay bound to the same context (the default copy does that).

    void Attach(Graphics* context);

    void SetVertexBuffer(VertexBufferImpl* buffer);
    void SetIndexBuffer(IndexBufferImpl* buffer);
    void SetShader(ShaderImpl* shader);
    // A SamplerFilter.
    void SetFilter(int32_t filter);
    // Hands the context's block to the renderer, forced when it changed.
    int ApplyState();
    int ApplyWorldTransform(void* vertices, const VertexFormat* format, unsigned count);
    int ApplyHalfPixelOffset(void* vertices, const VertexFormat* format, unsigned count);
    // The shader's projection becomes the context's.
    int SetProjection(Shader* shader);

    Graphics* GetContext() const { return mContext; }

protected:
    Graphics* mContext = nullptr;
    Render* mRender = nullptr;
    RenderState* mState = nullptr;
};
} // namespace render
