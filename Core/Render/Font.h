#pragma once

// The abstract text face used by the draw context and the text draw body.
#include "Core/Resource/Resource.h"

#include <cstdint>
#include <string>

namespace render
{
class Graphics;
class DrawTextParam;
struct TextLayout;
template <class Param>
class DrawUntransformedParam;

class Font : public resource::Resource
{
public:
    virtual float GetBase() { return mBase; }
    virtual float GetDescent() { return mLineHeight - mBase; }
    virtual float GetLineHeight() { return mLineHeight; }
    virtual float GetLineAdvance() { return mLineHeight + mLineSpacing; }
    virtual float GetLineSpacing() { return mLineSpacing; }
    // Lays the text out, writes (width, height) to size when given and draws
    // with a context; with neither it does nothing.
    virtual int DrawText(Graphics* context, DrawTextParam* body, const std::wstring* text, const TextLayout* layout,
                         float size[2]) = 0;
    virtual bool HasGlyph(uint16_t code) = 0;
    // Bitmap fonts hold 16-bit codes only.
    bool HasGlyph(wchar_t code) { return code >= 0 && code <= 0xFFFF && HasGlyph(static_cast<uint16_t>(code)); }
    // A record bound to no context: destroying it only measures, into the
    // outputs set on it first.
    DrawUntransformedParam<DrawTextParam> Text(const std::wstring& text);

protected:
    float mBase = 0.0f;
    float mLineHeight = 0.0f;
    float mLineSpacing = 0.0f;
};
} // namespace render
