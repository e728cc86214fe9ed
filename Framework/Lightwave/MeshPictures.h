#pragma once

// The picture operations a mesh library needs from the renderer.
#include "Core/Base/Result.h"

#include <string>

namespace render
{
class Image;
class Render;
} // namespace render

namespace lightwave
{
// Loads the picture at path (no container, no picture information) into out.
HVResultEnum LoadMeshPicture(render::Render* render, const std::wstring& path, render::Image** out);
// Releases and deletes a picture that LoadMeshPicture gave.
void FreeMeshPicture(render::Image* picture);
} // namespace lightwave
