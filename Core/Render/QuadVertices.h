#pragma once

// Writing textured quads into reserved SVertex2D vertices.
#include "Core/Render/Vertices.h"

#include <cstdint>

namespace render
{
// Corners top-left, top-right, bottom-right, bottom-left from the corner
// positions c0 and c1 (x, y, z, w) and texture coordinates t0 and t1;
// indices (f, f+1, f+2, f, f+2, f+3). Colours are left alone.
void FillQuadVertices(SVertex2D* v, uint16_t* indices, int firstVertex, const float c0[4], const float c1[4],
                      const float t0[2], const float t1[2]);
// The diffuse colour of count vertices: the packed colour.
void FillVertexColour(SVertex2D* v, unsigned count, const float colour[4]);
// The specular of count vertices: the tint weights of the tinting shader.
void FillVertexTint(SVertex2D* v, unsigned count, float tint);
} // namespace render
