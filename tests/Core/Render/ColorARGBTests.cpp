#include "Core/Render/ColorARGB.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ColorARGB, PacksByTruncationAndLowByte)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        float colour[4];
        uint32_t argb;
    } cases[] = {
        {{1, 1, 1, 1}, 0xFFFFFFFFu},
        {{0, 0, 0, 0}, 0x00000000u},
        {{1, 0.5f, 0.25f, 0.5f}, 0x7FFF7F3Fu}, // 127.5 -> 127, 63.75 -> 63
        {{0.999f, 0, 0, 1}, 0xFFFE0000u},
        {{2, 0, 0, 1}, 0xFFFE0000u},          // 510: low byte 0xFE, no clamping
        {{-1.0f, 0, 0, 1}, 0xFF010000u},      // -255: low byte 0x01
        {{nan, 0, 0, 1}, 0xFF000000u},
        {{1e30f, 0, 0, 1}, 0xFFFF0000u},      // clamped to the int maximum, low byte 0xFF
    };
    for (auto& c : cases)
        EXPECT_EQ(render::ColorToARGB(c.colour), c.argb) << std::hex << c.argb;
}

TEST(ColorARGB, UnpacksAndEncodesTint)
{
    const auto c = render::ColorFromARGB(0x80FF0033u);
    EXPECT_FLOAT_EQ(c[0], 1.0f);
    EXPECT_FLOAT_EQ(c[1], 0.0f);
    EXPECT_FLOAT_EQ(c[2], 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(c[3], 0x80 / 255.0f);
    struct Case
    {
        float tint;
        uint32_t specular;
    } cases[] = {
        {0.0f, 0x000000FFu}, {1.0f, 0x0000FF00u}, {0.5f, 0x00007F80u}, {std::nanf(""), 0x000000FFu},
    };
    for (auto& t : cases)
        EXPECT_EQ(render::TintToSpecular(t.tint), t.specular) << t.tint;
}
