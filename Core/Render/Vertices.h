#pragma once

#include "Core/Render/VertexFormat.h"

#include <cstddef>
#include <cstdint>

namespace render
{
struct SVertex2D
{
    float x, y, z, w;
    uint32_t diffuse;  // packed ARGB
    uint32_t specular; // tint weights for the tint shader
    float u, v;
    static VertexFormat Format;
};
static_assert(sizeof(SVertex2D) == 32);
static_assert(offsetof(SVertex2D, diffuse) == 16 && offsetof(SVertex2D, specular) == 20 &&
              offsetof(SVertex2D, u) == 24);

struct SVertexGeom
{
    float x, y, z;
    uint32_t diffuse;
    static VertexFormat Format;
};
static_assert(sizeof(SVertexGeom) == 16);
static_assert(offsetof(SVertexGeom, diffuse) == 12);

struct SVertexRT
{
    float x, y, z, w;
    float u, v;
    static VertexFormat Format;
};
static_assert(sizeof(SVertexRT) == 24);
static_assert(offsetof(SVertexRT, u) == 16);

void MakeVertexFormatSVertex2D();
void MakeVertexFormatSVertexGeom();
void MakeVertexFormatSVertexRT();
// Start-up calls this once before InitRender: 2D, Geom, RT get ids 0, 1, 2.
// A second call does nothing.
void RegisterVertexFormats();
} // namespace render
