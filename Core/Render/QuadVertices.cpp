#include "Core/Render/QuadVertices.h"

#include "Core/Render/ColorARGB.h"

namespace render
{
namespace
{
void Corner(SVertex2D& v, float x, float y, float z, float w, float u, float tv)
{
    v.x = x;
    v.y = y;
    v.z = z;
    v.w = w;
    v.u = u;
    v.v = tv;
}
} // namespace

void FillQuadVertices(SVertex2D* v, uint16_t* indices, int f, const float c0[4], const float c1[4], const float t0[2],
                      const float t1[2])
{
    Corner(v[0], c0[0], c0[1], c0[2], c0[3], t0[0], t0[1]);
    Corner(v[1], c1[0], c0[1], c0[2], c0[3], t1[0], t0[1]);
    Corner(v[2], c1[0], c1[1], c1[2], c1[3], t1[0], t1[1]);
    Corner(v[3], c0[0], c1[1], c1[2], c1[3], t0[0], t1[1]);
    const uint16_t first = uint16_t(f);
    const uint16_t order[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i)
        indices[i] = uint16_t(first + order[i]);
}

void FillVertexColour(SVertex2D* v, unsigned count, const float colour[4])
{
    const uint32_t argb = ColorToARGB(colour);
    for (unsigned i = 0; i < count; ++i)
        v[i].diffuse = argb;
}

void FillVertexTint(SVertex2D* v, unsigned count, float tint)
{
    const uint32_t specular = TintToSpecular(tint);
    for (unsigned i = 0; i < count; ++i)
        v[i].specular = specular;
}
} // namespace render
