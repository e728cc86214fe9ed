#pragma once

// Fixed-point YUV to packed ARGB conversion of decoded Theora frames.
#include <theora/theora.h>

#include <cstdint>

namespace video
{
// The fixed-point chroma terms, indexed by the 8-bit chroma sample.
int TableRv(uint8_t v);
int TableGv(uint8_t v);
int TableGu(uint8_t u);
int TableBu(uint8_t u);

// One pixel: alpha 255, then R, G, B, each clamped to 0..255.
uint32_t YuvToArgb(uint8_t y, uint8_t u, uint8_t v);

// Writes min(frame, target) columns and rows; the chroma planes are indexed by
// their ratio to the luma plane, which covers 4:2:0, 4:2:2 and 4:4:4. Rows are
// pitch bytes apart, the pitch cut down to a multiple of 4 and bounding the
// columns too.
void ConvertYuvToArgb(const yuv_buffer& yuv, int pitch, uint32_t* pixels, uint32_t width, uint32_t height);
} // namespace video
