#pragma once

// A structural look at picture bytes before the picture library sees them:
// every length and offset the library follows must lie inside the buffer,
// and no side may be longer than a texture's. Decodes nothing.
#include <cstddef>
#include <cstdint>

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

// The picture library allocates the whole picture from the sides a header
// claims; a few bytes could otherwise ask for gigabytes.
constexpr uint64_t kMaxPictureSide = 16384;

bool CheckPictureStructure(PictureKind kind, const unsigned char* data, size_t size);
} // namespace render
