#pragma once

// The pieces of an attributed text: runs of plain text and single pictures.
#include "Core/Math/Transform2D.h"

#include <string>

namespace render
{
class Font;
class Graphics;
class Image;
}

class AttributedChunk
{
public:
    AttributedChunk() = default;
    AttributedChunk(const AttributedChunk&) = delete;
    AttributedChunk& operator=(const AttributedChunk&) = delete;
    virtual ~AttributedChunk() = default;

    virtual void Draw(render::Graphics*, const math::Transform2D&) {}

    // In pixels of the unscaled row.
    float mWidth = 0.0f;
};

class AttributedStringChunk : public AttributedChunk
{
public:
    // Measured once, in font; without a font the width is 0.
    AttributedStringChunk(const std::wstring& text, render::Font* font);

    // Left aligned, vertically centred, in the context's current font.
    void Draw(render::Graphics* graphics, const math::Transform2D& transform) override;

    std::wstring mText;
};

class AttributedImageChunk : public AttributedChunk
{
public:
    // Not owned; null measures 0 and draws nothing.
    explicit AttributedImageChunk(render::Image* picture);

    // Left anchored, vertically centred.
    void Draw(render::Graphics* graphics, const math::Transform2D& transform) override;

    render::Image* mPicture = nullptr;
};
