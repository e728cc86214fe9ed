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
uint32_t BE16(const unsigned char* p) { return uint32_t(p[0]) << 8 | uint32_t(p[1]); }

bool SidesFit(uint64_t width, uint64_t height) { return width <= kMaxPictureSide && height <= kMaxPictureSide; }

// The header's rectangle, fixed at 8 bytes behind the signature.
constexpr size_t kPngWidthAt = 16;

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
        if (first && (std::memcmp(type, "IHDR", 4) != 0 || length != 13 ||
                      !SidesFit(BE32(data + kPngWidthAt), BE32(data + kPngWidthAt + 4))))
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
    if (width <= 0 || height == 0 || !SidesFit(uint64_t(width), uint64_t(height)))
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    // Run-length pictures are 8 or 4 bits deep by definition; the library
    // reads the colour table of either by its stated count, whatever the depth.
    constexpr uint32_t kRle8 = 1, kRle4 = 2, kMaxColours = 256;
    if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4) || colours > kMaxColours)
        return false;
    if (bits <= 8)
    {
        const uint64_t count = colours ? colours : (1u << bits);
        if (14 + headerSize + count * (headerSize == 12 ? 3 : 4) > size)
            return false;
    }
    if (offset < 14 + headerSize || offset > size)
        return false;
    uint64_t pixelBytes;
    if (compression == 0 || compression == 3)
        pixelBytes = (uint64_t(width) * bits + 31) / 32 * 4 * uint64_t(height);
    else if (compression == kRle8 || compression == kRle4)
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
    if (mapType > 1 || width == 0 || height == 0 || !SidesFit(width, height))
        return false;
    if (bits != 8 && bits != 15 && bits != 16 && bits != 24 && bits != 32)
        return false;
    // The library reads a colour table for colour-mapped types whatever the
    // map type says, and sizes it from the header's numbers: only a table
    // that 8-bit indices can reach, in an entry size it knows, is read.
    constexpr unsigned kMapped = 1, kMappedRle = 9;
    constexpr uint64_t kMaxMapEntries = 256;
    const uint64_t firstEntry = LE16(data + 3);
    const bool mapped = imageType == kMapped || imageType == kMappedRle;
    if (mapped && (mapType != 1 || bits != 8 || mapLength == 0 || firstEntry + mapLength > kMaxMapEntries))
        return false;
    if (mapType == 1 && mapLength > 0 && mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 &&
        mapEntryBits != 32)
        return false;
    const uint64_t map = mapType ? mapLength * ((mapEntryBits + 7) / 8) : 0;
    const uint64_t headers = 18 + idLength + map;
    if (headers > size)
        return false;
    switch (imageType)
    {
    case kMapped:
    case 2:
    case 3:
        return headers + width * height * ((bits + 7) / 8) <= size;
    case kMappedRle:
    case 10:
    case 11:
        return true;
    default:
        return false;
    }
}

// Sub-blocks: a length byte and that many bytes, up to an empty one.
bool SkipSubBlocks(const unsigned char* data, size_t size, size_t& pos)
{
    while (pos < size)
    {
        const size_t length = data[pos++];
        if (length == 0)
            return true;
        if (length > size - pos)
            return false;
        pos += length;
    }
    return false;
}

// Bit 0x80 of a GIF flag byte: a colour table of 2^(n+1) entries follows.
uint64_t GifTableBytes(unsigned flags) { return (flags & 0x80) ? 3u * (2u << (flags & 7)) : 0; }

// The library writes every frame into the logical screen without clipping it:
// a frame must lie inside the screen, and every block inside the file.
bool CheckGif(const unsigned char* data, size_t size)
{
    if (size < 13 || (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0))
        return false;
    const uint32_t width = LE16(data + 6);
    const uint32_t height = LE16(data + 8);
    if (width == 0 || height == 0 || !SidesFit(width, height))
        return false;
    const uint64_t table = GifTableBytes(data[10]);
    if (13 + table > size)
        return false;
    constexpr unsigned kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B, kGraphicControl = 0xF9;
    // Length byte, four bytes of data and the empty sub-block that ends it.
    constexpr size_t kGraphicControlBytes = 6;
    constexpr size_t kDescriptorBytes = 10;
    constexpr unsigned kMinCodeSize = 2, kMaxCodeSize = 8;
    size_t pos = size_t(13 + table);
    while (pos < size)
    {
        const unsigned block = data[pos];
        if (block == kTrailer)
            return true;
        if (block == kExtension)
        {
            if (size - pos < 2)
                return false;
            const unsigned label = data[pos + 1];
            pos += 2; // introducer and label
            // The library reads a graphic control block as six fixed bytes
            // whatever its length byte says: any other shape would make it
            // read the rest of the file out of step with this walk.
            if (label == kGraphicControl)
            {
                if (kGraphicControlBytes > size - pos || data[pos] != kGraphicControlBytes - 2 ||
                    data[pos + kGraphicControlBytes - 1] != 0)
                    return false;
                pos += kGraphicControlBytes;
                continue;
            }
            if (!SkipSubBlocks(data, size, pos))
                return false;
            continue;
        }
        if (block != kImage || kDescriptorBytes > size - pos)
            return false;
        const uint32_t left = LE16(data + pos + 1);
        const uint32_t top = LE16(data + pos + 3);
        const uint32_t frameWidth = LE16(data + pos + 5);
        const uint32_t frameHeight = LE16(data + pos + 7);
        if (frameWidth == 0 || frameHeight == 0 || left + frameWidth > width || top + frameHeight > height)
            return false;
        const uint64_t localTable = GifTableBytes(data[pos + 9]);
        pos += kDescriptorBytes;
        if (localTable + 1 > size - pos)
            return false;
        pos += size_t(localTable);
        const unsigned codeSize = data[pos++];
        if (codeSize < kMinCodeSize || codeSize > kMaxCodeSize || !SkipSubBlocks(data, size, pos))
            return false;
    }
    // Cut after a whole block: the frames read so far are all there is.
    return true;
}

// Marker bytes that start a frame header (all SOFn but DHT, JPG and DAC).
bool IsFrameMarker(unsigned marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RSTn, SOI, EOI.
bool IsStandaloneMarker(unsigned marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD9); }

// The library's reader loops without end on a segment that runs past the end
// of the file, so every segment must lie inside it; the frame's sides size
// the library's allocations. Bytes between segments (the scan data, or stray
// ones) are passed over as the decoder passes over them, and a file cut in
// its scan data is left to the decoder, which ends such a scan cleanly.
bool CheckJpg(const unsigned char* data, size_t size)
{
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    constexpr unsigned kStuffedZero = 0x00, kFill = 0xFF, kEndOfImage = 0xD9;
    constexpr size_t kFrameHeaderLength = 7; // length, precision, height, width
    size_t pos = 2;
    while (pos < size)
    {
        if (data[pos] != 0xFF)
        {
            ++pos;
            continue;
        }
        if (size - pos < 2)
            return true;
        const unsigned marker = data[pos + 1];
        if (marker == kFill)
        {
            ++pos;
            continue;
        }
        if (marker == kEndOfImage)
            return true;
        if (marker == kStuffedZero || IsStandaloneMarker(marker))
        {
            pos += 2;
            continue;
        }
        if (size - pos < 4)
            return false;
        const size_t length = BE16(data + pos + 2);
        if (length < 2 || length > size - pos - 2)
            return false;
        if (IsFrameMarker(marker) &&
            (length < kFrameHeaderLength || !SidesFit(BE16(data + pos + 7), BE16(data + pos + 5))))
            return false;
        pos += 2 + length;
    }
    return true;
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
