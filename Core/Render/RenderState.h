#pragma once

#include "Core/Math/Matrix4.h"

#include <cstdint>

namespace render
{
class Texture;
class ShaderImpl;
class VertexBufferImpl;
class IndexBufferImpl;

// Primitive types of the recorded draws, in Direct3D's order.
enum PrimitiveType : int32_t
{
    kPrimitivePoints = 0,
    kPrimitiveLines = 1,
    kPrimitiveLineStrip = 2,
    kPrimitiveTriangles = 3,
    kPrimitiveTriangleStrip = 4,
    kPrimitiveTriangleFan = 5,
    // No draw pending.
    kPrimitiveNone = 6,
};

enum BlendMode : int32_t
{
    kBlendOpaque = 0,
    kBlendAlpha = 1,
    kBlendAdditive = 2,
};

// How textures are sampled: point sampling only where it gives the pixels
// linear filtering would (texel centres on pixel centres), because it is cheaper.
enum SamplerFilter : int32_t
{
    kFilterLinear = 0,
    kFilterPoint = 1,
};

// One render-state block: what a draw needs on the device.
struct RenderState
{
    Texture* mTarget = nullptr; // null: the back buffer
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    ShaderImpl* mShader = nullptr;
    VertexBufferImpl* mVertexBuffer = nullptr;
    IndexBufferImpl* mIndexBuffer = nullptr;
    int32_t mBlendMode = kBlendOpaque; // a BlendMode
    int32_t mFilter = kFilterLinear;   // a SamplerFilter
    uint8_t mScissorEnabled = 0;
    float mScissorRect[4] = {0, 0, 0, 0}; // x, y, w, h in virtual units
    uint8_t mDepthEnable = 0;
    uint8_t mDepthWrite = 1;
};

struct RenderInitParam
{
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    uint8_t mWindowed = 1;
    uint8_t mDeriveProjection = 1;
    math::Matrix4 mProjection{true};
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
};
} // namespace render
