#pragma once

// A structural look at picture bytes before the picture library sees them:
// every length and offset the library follows must lie inside the buffer.
// Decodes nothing.
#include <cstddef>

namespace render
{
enum class PictureKind
{
    Bmp,
    Gif,
    Jpg,
    Png,
    Tga,
};

bool CheckPictureStructure(PictureKind kind, const unsigned char* data, size_t size);
} // namespace render
