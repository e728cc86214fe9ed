#include "Core/Render/ColorARGB.h"

#include "Core/Math/MathFunctions.h"

namespace render
{
namespace
{
// Truncation toward zero, low 8 bits.
uint32_t ChannelByte(float value)
{
    return static_cast<uint32_t>(math::TruncateToInt32(value * 255.0f)) & 0xFFu;
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
