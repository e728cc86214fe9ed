// The bytes as a bitmap-font description; a font that reads is made to
// measure and lay out texts of its own glyphs, missing ones, spaces and line
// breaks under every alignment, with and without wrapping.
#include "Core/Render/BMFont.h"
#include "Core/Render/TextLayout.h"

#include <cstdint>
#include <memory>
#include <string>

namespace
{
// Enough glyphs for several lines, not so many that a huge font slows the run.
constexpr size_t kMaxTextGlyphs = 400;

void LayOut(render::BMFont& font, const std::wstring& text, const render::TextLayout& layout)
{
    auto lines = std::make_unique<render::BMFont::Lines>();
    auto batches = std::make_unique<render::BMFont::Batches>();
    float size[2] = {};
    font.LayOut(text, layout, *lines, size);
    font.MakeBatches(text, layout, *lines, *batches);
    float measured[2] = {};
    font.DrawText(nullptr, nullptr, &text, &layout, measured);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader takes a terminated string; an inner terminator ends the text.
    const std::string description(reinterpret_cast<const char*>(data), size);
    render::BMFont font;
    if (font.ParseDescription(description.c_str()) != HV_OK)
        return 0;

    std::wstring text;
    uint16_t first = 0;
    for (const auto& [code, glyph] : font.GetGlyphs())
    {
        if (text.size() >= kMaxTextGlyphs)
            break;
        if (text.empty())
            first = code;
        text += static_cast<wchar_t>(code);
        if (text.size() % 7 == 0)
            text += L' ';
    }
    const std::wstring texts[] = {
        text,
        text + L"\n\n" + text + L"\t\x0100\x10000",
        L"  a  b\n\nc d e f g h i j k l m n o p",
        L"",
    };
    for (const std::wstring& t : texts)
    {
        for (int alignment = 0; alignment < 4; ++alignment)
        {
            for (float wrap : {0.0f, 1.0f, 37.5f, 300.0f})
            {
                render::TextLayout layout;
                layout.alignment = alignment;
                layout.wrapWidth = wrap;
                layout.letterSpacing = wrap == 1.0f ? -3.0f : 0.5f;
                layout.replacement = alignment == 1 ? first : 0;
                layout.firstLineIndent = alignment == 2 ? 12.0f : 0.0f;
                layout.extraLineSpacing = 2.0f;
                layout.letterJustify = static_cast<uint8_t>(alignment & 1);
                layout.measureToText = static_cast<uint8_t>(wrap != 0.0f);
                LayOut(font, t, layout);
            }
        }
    }
    for (wchar_t c : {L'a', L'\0', static_cast<wchar_t>(0xFFFF), static_cast<wchar_t>(0x10000)})
        font.HasGlyph(c);
    return 0;
}
