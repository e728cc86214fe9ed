#pragma once

// One line of text in which chosen characters stand for pictures (a price
// with its coin), drawn as a row centred on the drawing position.
#include "Core/Resource/ResourceHandle.h"

#include <map>
#include <string>
#include <vector>

namespace math
{
class Transform2D;
}
namespace render
{
class Font;
class Graphics;
class Image;
}

class AttributedChunk;

class AttributedText
{
public:
    using FontHandle = resource::ResourceHandle<render::Font>;

    AttributedText() = default;
    AttributedText(const AttributedText&) = delete;
    AttributedText& operator=(const AttributedText&) = delete;
    ~AttributedText();

    // The picture is borrowed; the mapping counts from the next SetText.
    void AddInlineImage(wchar_t character, render::Image* picture);
    void SetText(const std::wstring& text);
    void Draw(render::Graphics* graphics, const math::Transform2D& transform);
    // The sum of the chunk widths.
    float GetWidth() const;

    std::wstring mText;
    std::vector<AttributedChunk*> mChunks;
    // Set by the owner before the first SetText.
    FontHandle mFont;
    std::map<wchar_t, render::Image*> mPictures;
};
