#include "Core/Render/PictureCheck.h"

#include <cstdint>
#include <cstring>

namespace render
{
namespace
{
uint32_t BE32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint32_t LE32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t LE16(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }

bool CheckPng(const unsigned char* data, size_t size)
{
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0)
        return false;
    size_t pos = 8;
    bool first = true;
    while (size - pos >= 12)
    {
        const uint64_t length = BE32(data + pos);
        const unsigned char* type = data + pos + 4;
        if (length > 0x7FFFFFFFu || length + 12 > size - pos)
            return false;
        if (first && (std::memcmp(type, "IHDR", 4) != 0 || length != 13))
            return false;
        first = false;
        if (std::memcmp(type, "IEND", 4) == 0)
            return true;
        pos += size_t(length) + 12;
    }
    return false;
}

bool CheckBmp(const unsigned char* data, size_t size)
{
    if (size < 18 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint64_t offset = LE32(data + 10);
    const uint64_t headerSize = LE32(data + 14);
    if (headerSize < 12 || 14 + headerSize > size)
        return false;
    int64_t width, height;
    uint32_t bits, compression = 0, imageSize = 0, colours = 0;
    if (headerSize == 12)
    {
        width = LE16(data + 18);
        height = int16_t(LE16(data + 20));
        bits = LE16(data + 24);
    }
    else
    {
        if (headerSize < 40)
            return false;
        width = int32_t(LE32(data + 18));
        height = int32_t(LE32(data + 22));
        bits = LE16(data + 28);
        compression = LE32(data + 30);
        imageSize = LE32(data + 34);
        colours = LE32(data + 46);
    }
    if (height < 0)
        height = -height;
    if (width <= 0 || height == 0)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    if (bits <= 8)
    {
        const uint64_t count = colours ? colours : (1u << bits);
        if (count > 256 || 14 + headerSize + count * (headerSize == 12 ? 3 : 4) > size)
            return false;
    }
    if (offset < 14 + headerSize || offset > size)
        return false;
    uint64_t pixelBytes;
    if (compression == 0 || compression == 3)
        pixelBytes = (uint64_t(width) * bits + 31) / 32 * 4 * uint64_t(height);
    else if (compression == 1 || compression == 2)
        pixelBytes = imageSize;
    else
        return false;
    return pixelBytes > 0 && offset + pixelBytes <= size;
}

bool CheckTga(const unsigned char* data, size_t size)
{
    if (size < 18)
        return false;
    const uint64_t idLength = data[0];
    const unsigned mapType = data[1];
    const unsigned imageType = data[2];
    const uint64_t mapLength = LE16(data + 5);
    const uint64_t mapEntryBits = data[7];
    const uint64_t width = LE16(data + 12);
    const uint64_t height = LE16(data + 14);
    const unsigned bits = data[16];
    if (mapType > 1 || width == 0 || height == 0)
        return false;
    if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)
        return false;
    const uint64_t map = mapType ? mapLength * ((mapEntryBits + 7) / 8) : 0;
    const uint64_t headers = 18 + idLength + map;
    if (headers > size)
        return false;
    switch (imageType)
    {
    case 1:
    case 2:
    case 3:
        return headers + width * height * ((bits + 7) / 8) <= size;
    case 9:
    case 10:
    case 11:
        return true;
    default:
        return false;
    }
}

bool CheckGif(const unsigned char* data, size_t size)
{
    if (size < 13 || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
        return false;
    if (LE16(data + 6) == 0 || LE16(data + 8) == 0)
        return false;
    const unsigned flags = data[10];
    const uint64_t table = (flags & 0x80) ? 3u * (2u << (flags & 7)) : 0;
    return 13 + table <= size;
}

bool CheckJpg(const unsigned char* data, size_t size)
{
    return size >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}
} // namespace

bool CheckPictureStructure(PictureKind kind, const unsigned char* data, size_t size)
{
    if (!data)
        return false;
    switch (kind)
    {
    case PictureKind::Bmp:
        return CheckBmp(data, size);
    case PictureKind::Gif:
        return CheckGif(data, size);
    case PictureKind::Jpg:
        return CheckJpg(data, size);
    case PictureKind::Png:
        return CheckPng(data, size);
    case PictureKind::Tga:
        return CheckTga(data, size);
    }
    return false;
}
} // namespace render
