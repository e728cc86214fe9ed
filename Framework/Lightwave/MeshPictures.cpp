#include "Framework/Lightwave/MeshPictures.h"

namespace lightwave
{
// The renderer cannot load pictures yet: every object with a texture fails.
HVResultEnum LoadMeshPicture(render::Render* render, const std::wstring&, render::Image** out)
{
    (void)render;
    *out = nullptr;
    return HV_FAIL;
}

void FreeMeshPicture(render::Image*) {}
} // namespace lightwave
