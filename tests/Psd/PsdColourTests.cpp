// Colour conversions.

#include <cmath>

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

TEST(PsdColour, KnownValues) {
    struct Case {
        const char* what;
        uint32_t got;
        uint32_t want;
    } cases[] = {
        {"cmyk no ink", psdr_cmyk_to_argb(0, 0, 0, 0), 0xFFFFFFFF},
        {"cmyk full k", psdr_cmyk_to_argb(0, 0, 0, 255), 0xFF000000},
        {"cmyk full c", psdr_cmyk_to_argb(255, 0, 0, 0), 0xFF01FFFF},
        {"cmyk alpha", psdr_cmyk_alpha_to_argb(0x40, 0, 0, 0, 0), 0x40FFFFFF},
        {"lab black", psdr_lab_to_argb_opaque(0, 0, 0), 0xFF000000},
        {"lab white", psdr_lab_to_argb_opaque(100, 0, 0), 0xFFFFFFFF},
        {"fraction none", psdr_cmyk_fraction_to_argb(0, 0, 0, 0), 0xFFFFFFFF},
        {"fraction half c", psdr_cmyk_fraction_to_argb(0.5, 0, 0, 0), 0xFF7FFFFF},
        {"hls red", psdr_hls_to_argb(255, 0, 1.0, 0.5), 0xFFFF0000},
        {"hls grey", psdr_hls_to_argb(255, 0, 0.0, 0.5), 0xFF7F7F7F},
        {"pack", psdr_pack_argb(0x112, 0x34, 0x56, 0x78), 0x12345678},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

    uint32_t out = 0;
    EXPECT_EQ(psdr_colour_to_argb(&out, 3, 1, 2, 3, 4), PSDR_BAD_COLOUR_SPACE);
    EXPECT_EQ(out, 0x00FFFFFFu);
    EXPECT_EQ(psdr_colour_to_argb(&out, 0, 0x1FF, 0x280, 0x3C0, 0), PSDR_OK);
    EXPECT_EQ(out, 0xFFFF80C0u);
}

// Out-of-range inputs stay inside their channel and never touch the alpha byte.
TEST(PsdColour, OutOfRangeInputsAreClamped) {
    const uint32_t cases[] = {
        psdr_hls_to_argb(0x80, 30, 1.0, 655.35),
        psdr_hls_to_argb(0x80, 30, 655.35, -3.0),
        psdr_lab_to_argb(0x80, 65535, 65535, -65535),
        psdr_lab_to_argb(0x80, -500, 0, 0),
        psdr_xyz_to_argb(0x80, 1e9, -1e9, 1e9),
        psdr_cmyk_fraction_to_argb(655.0, -655.0, 0.0, 0.0) & 0x80FFFFFFu,
    };
    for (uint32_t v : cases) EXPECT_EQ(v >> 24, 0x80u) << std::hex << v;
    uint32_t out = 0;
    EXPECT_EQ(psdr_colour_to_argb(&out, 1, 0xFFFF, 0xFFFF, 0xFFFF, 0), PSDR_OK);
    EXPECT_EQ(out >> 24, 0xFFu);
    EXPECT_EQ(psdr_colour_to_argb(&out, 2, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF), PSDR_OK);
    EXPECT_EQ(out >> 24, 0xFFu);
    EXPECT_EQ(psdr_hue_to_channel(90, 0.0, 2.0), 255);
    EXPECT_EQ(psdr_hue_to_channel(-270, 0.0, 2.0), 255);
    EXPECT_EQ(psdr_hue_to_channel(300, -1.0, 0.0), 0);
}

TEST(PsdColour, ToIntSaturates) {
    EXPECT_EQ(psdr_to_int(1e300), INT32_MAX);
    EXPECT_EQ(psdr_to_int(-1e300), INT32_MIN);
    EXPECT_EQ(psdr_to_int(std::nan("")), 0);
    EXPECT_EQ(psdr_to_int(-2.9), -2);
}
