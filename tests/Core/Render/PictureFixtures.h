#pragma once

// Small picture files assembled in memory for the decoder tests.
#include <cstdint>
#include <vector>

namespace fixtures
{
using Bytes = std::vector<unsigned char>;

// Pixels are 0xAARRGGBB, top row first, in every writer.
Bytes MakePng(int width, int height, const std::vector<uint32_t>& argb);
Bytes MakeJpeg(int width, int height, const std::vector<uint32_t>& argb);
// 24-bit bottom-up.
Bytes MakeBmp(int width, int height, const std::vector<uint32_t>& argb);
// 32-bit uncompressed bottom-up.
Bytes MakeTga(int width, int height, const std::vector<uint32_t>& argb);
// 4 colours (RGB of 0xRRGGBB), indices top row first; index 0 is transparent.
Bytes MakeGif(int width, int height, const uint32_t palette[4], const std::vector<uint8_t>& indices);

struct DdsHeader
{
    uint32_t width = 4;
    uint32_t height = 4;
    uint32_t mipCount = 0;
    const char* fourCC = nullptr; // null: uncompressed
    uint32_t bitCount = 32;
    uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
};
// The 128-byte header followed by data.
Bytes MakeDds(const DdsHeader& header, const Bytes& data);
Bytes Argb32(const std::vector<uint32_t>& argb); // host-order bytes
} // namespace fixtures
