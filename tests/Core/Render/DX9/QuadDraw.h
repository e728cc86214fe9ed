#pragma once

// Draws the way the image draw body does: 4 vertices and 6 16-bit indices
// reserved from the caches, one indexed triangle list per quad; a texture,
// or an image (its texture, and its atlas region through MapUV).
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/Vertices.h"

namespace rendertest
{
struct Quad
{
    float x0, y0, x1, y1;
    uint32_t diffuse = 0xFFFFFFFF;
    uint32_t specular = 0x000000FF; // tint 0
    float u1 = 1.0f, v1 = 1.0f;
};

inline HVResultEnum DrawQuad(render::Render& r, render::RenderState& state, render::ShaderTextured* shader,
                             render::Texture* texture, const Quad& q,
                             const math::Matrix4* projection = nullptr, const render::Image* image = nullptr)
{
    auto* vertices = render::GetVertexCache<render::SVertex2D>(&r);
    render::SVertex2D* v = nullptr;
    render::BufferRange<render::VertexBuffer<render::SVertex2D>> vr;
    HVResultEnum result = vertices->Reserve(4, &v, vr);
    if (result != HV_OK)
        return result;
    unsigned short* index = nullptr;
    render::BufferRange<render::IndexBuffer<unsigned short>> ir;
    if ((result = r.GetIndexCache16()->Reserve(6, &index, ir)) != HV_OK)
        return result;
    // The engine's half-pixel offset puts texel centres on pixel centres.
    const float x0 = q.x0 - 0.5f, y0 = q.y0 - 0.5f, x1 = q.x1 - 0.5f, y1 = q.y1 - 0.5f;
    v[0] = {x0, y0, 0, 1, q.diffuse, q.specular, 0, 0};
    v[1] = {x1, y0, 0, 1, q.diffuse, q.specular, q.u1, 0};
    v[2] = {x1, y1, 0, 1, q.diffuse, q.specular, q.u1, q.v1};
    v[3] = {x0, y1, 0, 1, q.diffuse, q.specular, 0, q.v1};
    const unsigned short first = static_cast<unsigned short>(vr.mFirst);
    const unsigned short order[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i)
        index[i] = static_cast<unsigned short>(first + order[i]);
    // An image draws from its own texture, with coordinates mapped into its atlas region.
    if (image && (result = image->MapUV(v, 4, 0, &render::SVertex2D::Format)) != HV_OK)
        return result;
    state.mVertexBuffer = vr.mBuffer->mImpl;
    state.mIndexBuffer = ir.mBuffer->mImpl;
    state.mShader = shader->GetImpl();
    if ((result = r.SetState(&state, true)) != HV_OK)
        return result;
    if (image)
        shader->SetTexture(image);
    else
        shader->GetTextureVariable()->Set(texture);
    shader->SetProjection(projection ? projection : &r.GetProjection());
    return r.DrawIndexedPrimitive(3, ir.mFirst, 2, vr.mFirst, 4);
}
} // namespace rendertest
