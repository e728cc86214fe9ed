#include "Core/Render/ColorARGB.h"

#include <cmath>

namespace render
{
namespace
{
// Truncation toward zero, low 8 bits. NaN and values outside the int range
// (undefined to convert) are clamped first.
uint32_t ChannelByte(float value)
{
    const float scaled = value * 255.0f;
    int64_t whole;
    if (std::isnan(scaled))
        whole = 0;
    else if (scaled >= 2147483647.0f)
        whole = 2147483647;
    else if (scaled <= -2147483648.0f)
        whole = -2147483647 - 1;
    else
        whole = static_cast<int64_t>(scaled);
    return static_cast<uint32_t>(whole) & 0xFFu;
}
} // namespace

uint32_t ColorToARGB(const float colour[4])
{
    return ChannelByte(colour[3]) << 24 | ChannelByte(colour[0]) << 16 | ChannelByte(colour[1]) << 8 |
           ChannelByte(colour[2]);
}

std::array<float, 4> ColorFromARGB(uint32_t argb)
{
    return {float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f, float(argb & 0xFF) / 255.0f,
            float(argb >> 24) / 255.0f};
}

uint32_t TintToSpecular(float tint)
{
    const uint32_t k = ChannelByte(tint);
    return k << 8 | (255u - k);
}
} // namespace render
