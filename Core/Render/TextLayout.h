#pragma once

// How a font lays a text out; set by the text draw body.
#include <cstdint>

namespace render
{
struct TextLayout
{
    float letterSpacing = 0.0f;
    float wrapWidth = 0.0f;
    int alignment = 0; // 0 left, 1 right, 2 centre, 3 justified
    uint16_t lineBreak = 10;
    uint16_t replacement = 0; // 0: missing characters are skipped
    float extraLineSpacing = 0.0f;
    float firstLineIndent = 0.0f;
    uint8_t letterJustify = 1;
    uint8_t measureToText = 1;
};
} // namespace render
