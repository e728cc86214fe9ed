#pragma once

// Float colours (r, g, b, a) to packed ARGB and back, and the tint amount
// as the specular colour the tinting shader reads.
#include <array>
#include <cstdint>

namespace render
{
// Each channel times 255, truncated, low 8 bits; no clamping of in-range values.
uint32_t ColorToARGB(const float colour[4]);
std::array<float, 4> ColorFromARGB(uint32_t argb);
// Green byte k, blue byte 255 - k, with k the low 8 bits of truncate(tint x 255).
uint32_t TintToSpecular(float tint);
} // namespace render
