#include "Core/Video/YuvToRgb.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace video
{
namespace
{
using Table = std::array<int, 256>;

constexpr Table MakeTable(int32_t start, int32_t step)
{
    Table table{};
    for (int k = 0; k < 256; ++k)
        table[k] = (start + k * step) >> 16; // arithmetic: rounds the negative half downwards too
    return table;
}

constexpr Table kRv = MakeTable(-14487936, 113443);
constexpr Table kGv = MakeTable(-5822464, 45744);
constexpr Table kGu = MakeTable(-2785792, 22020);
constexpr Table kBu = MakeTable(-14496256, 113508);

inline uint32_t Clamp(int value) { return static_cast<uint32_t>(std::clamp(value, 0, 255)); }
} // namespace

int TableRv(uint8_t v) { return kRv[v]; }
int TableGv(uint8_t v) { return kGv[v]; }
int TableGu(uint8_t u) { return kGu[u]; }
int TableBu(uint8_t u) { return kBu[u]; }

uint32_t YuvToArgb(uint8_t y, uint8_t u, uint8_t v)
{
    const uint32_t r = Clamp(y + kRv[v]);
    const uint32_t g = Clamp(y - kGu[u] - kGv[v]);
    const uint32_t b = Clamp(y + kBu[u]);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void ConvertYuvToArgb(const yuv_buffer& yuv, int pitch, uint32_t* pixels, uint32_t width, uint32_t height)
{
    if (!pixels || pitch < 4 || yuv.y_width <= 0 || yuv.y_height <= 0 || !yuv.y || !yuv.u || !yuv.v)
        return;
    const size_t rowPixels = static_cast<size_t>(pitch) / 4;
    const size_t yWidth = static_cast<size_t>(yuv.y_width), yHeight = static_cast<size_t>(yuv.y_height);
    const size_t uvWidth = static_cast<size_t>(std::max(yuv.uv_width, 0));
    const size_t uvHeight = static_cast<size_t>(std::max(yuv.uv_height, 0));
    const size_t columns = std::min({yWidth, size_t(width), rowPixels});
    const size_t rows = std::min(yHeight, size_t(height));
    // The decoder pads its planes: rows are always stepped by the strides.
    const ptrdiff_t yStride = yuv.y_stride, uvStride = yuv.uv_stride;
    for (size_t r = 0; r < rows; ++r)
    {
        const unsigned char* yRow = yuv.y + ptrdiff_t(r) * yStride;
        const ptrdiff_t uvRow = ptrdiff_t(r * uvHeight / yHeight) * uvStride;
        const unsigned char* uRow = yuv.u + uvRow;
        const unsigned char* vRow = yuv.v + uvRow;
        uint32_t* out = pixels + r * rowPixels;
        for (size_t c = 0; c < columns; ++c)
        {
            const size_t uvColumn = c * uvWidth / yWidth;
            out[c] = YuvToArgb(yRow[c], uRow[uvColumn], vRow[uvColumn]);
        }
    }
}
} // namespace video
