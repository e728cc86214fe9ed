#pragma once

// A named mesh of a library: ranges of the library's shared index table and
// vertex array, and the picture of its texture.
#include "Core/Math/BoundingBox.h"

#include <cstdint>
#include <string>

namespace render
{
class Image;
struct SVertex2D;
} // namespace render

namespace lightwave
{
struct MeshObject
{
    std::string name;
    std::wstring texture;
    // 0: the ranges point into the library's arrays, which the library frees.
    uint8_t ownsArrays = 0;
    uint32_t indexCount = 0;
    int32_t* indices = nullptr;
    uint32_t vertexCount = 0;
    render::SVertex2D* vertices = nullptr;
    math::BoundingBox bounds;
    render::Image* picture = nullptr;
};
} // namespace lightwave
