#pragma once

// Draws a text in a bitmap font with its own layout; its hit area is the
// measured text box.
#include "Core/Render/TextLayout.h"
#include "Core/Resource/ResourceHandle.h"
#include "Framework/Layer/Layer.h"

#include <string>

namespace render
{
class Font;
}

namespace layer
{
class TextLayer : public Layer
{
public:
    using FontHandle = resource::ResourceHandle<render::Font>;

    TextLayer(const FontHandle& font, const std::wstring& text);
    // wrapWidth, lineStartOffset, layoutOption and flag go into the layout's
    // wrap width, first-line indent, alignment and letter justification.
    TextLayer(const FontHandle& font, const std::wstring& text, float wrapWidth, float lineStartOffset,
              int layoutOption, bool flag);
    ~TextLayer() override; // releases the font

    // Every setter that changes what is measured marks the hit rectangle.
    void SetFont(const FontHandle& font);
    void SetText(const std::wstring& text);
    void SetAlignment(int horizontal, int vertical);
    void SetLayout(const render::TextLayout& layout);
    void SetMeasureToText(bool measure);
    const FontHandle& GetFont() const { return mFont; }
    const std::wstring& GetText() const { return mText; }
    const render::TextLayout& GetLayout() const { return mLayout; }
    int GetHorizontalAlignment() const { return mHorizontalAlignment; }
    int GetVerticalAlignment() const { return mVerticalAlignment; }
    bool GetMeasureToText() const { return mMeasureToText; }

    // Moves the layer so that its text box starts on whole pixels.
    void SnapToPixels();

    HVResultEnum Draw(render::Graphics* g) override;
    void UpdateHitRect() override;
    bool HitTestPoint(const math::Vector3& point) override;

private:
    // The text box in layer space; empty without font or text.
    math::BoundingBox MeasureText() const;

    FontHandle mFont;
    std::wstring mText;
    render::TextLayout mLayout;
    int mHorizontalAlignment = 0;
    int mVerticalAlignment = 0;
    bool mMeasureToText = false;
};
} // namespace layer
