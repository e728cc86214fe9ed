#include "Framework/Layer/TextLayer.h"

#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Framework/Layer/LayerDrawScope.h"

#include <cmath>

namespace layer
{
TextLayer::TextLayer(const FontHandle& font, const std::wstring& text) : mFont(font), mText(text)
{
    SetHitRectEnabled(true);
}

TextLayer::TextLayer(const FontHandle& font, const std::wstring& text, float wrapWidth, float lineStartOffset,
                     int layoutOption, bool flag)
    : TextLayer(font, text)
{
    mLayout.wrapWidth = wrapWidth;
    mLayout.firstLineIndent = lineStartOffset;
    mLayout.alignment = layoutOption;
    mLayout.letterJustify = flag ? 1 : 0;
}

TextLayer::~TextLayer() { mFont.Reset(); }

void TextLayer::SetFont(const FontHandle& font)
{
    mFont = font;
    InvalidateHitRect();
}

void TextLayer::SetText(const std::wstring& text)
{
    if (text == mText)
        return;
    mText = text;
    InvalidateHitRect();
}

void TextLayer::SetAlignment(int horizontal, int vertical)
{
    if (horizontal == mHorizontalAlignment && vertical == mVerticalAlignment)
        return;
    mHorizontalAlignment = horizontal;
    mVerticalAlignment = vertical;
    InvalidateHitRect();
}

void TextLayer::SetLayout(const render::TextLayout& layout)
{
    mLayout = layout;
    InvalidateHitRect();
}

void TextLayer::SetMeasureToText(bool measure)
{
    if (measure == mMeasureToText)
        return;
    mMeasureToText = measure;
    InvalidateHitRect();
}

HVResultEnum TextLayer::Draw(render::Graphics* g)
{
    if (!g || !mFont || mText.empty())
        return HV_OK;
    LayerDrawScope scope(*g, *this, mAdditive ? 2 : 1, true);
    g->mFont = mFont.Get();
    {
        auto record = g->DrawText(mText);
        record->mLayout = mLayout;
        record->mLayout.measureToText = mMeasureToText ? 1 : 0;
        record->SetAlign(mHorizontalAlignment, mVerticalAlignment);
    } // draws here, inside the scope
    return HV_OK;
}

math::BoundingBox TextLayer::MeasureText() const
{
    math::BoundingBox box;
    if (!mFont || mText.empty())
        return box;
    {
        auto record = mFont->Text(mText);
        record->mLayout = mLayout;
        record->mLayout.measureToText = mMeasureToText ? 1 : 0;
        record->SetAlign(mHorizontalAlignment, mVerticalAlignment);
        record->SetBoxOut(&box);
    } // measures here
    return box;
}

void TextLayer::UpdateHitRect() { mHitRect = MeasureText(); }

bool TextLayer::HitTestPoint(const math::Vector3&) { return true; }

void TextLayer::SnapToPixels()
{
    const math::BoundingBox box = MeasureText();
    // Nothing measured: there is no box to put on whole pixels.
    if (box.mMin.x > box.mMax.x)
        return;
    SetX(std::floor(mPosition.x + box.mMin.x) - box.mMin.x);
    SetY(std::floor(mPosition.y + box.mMin.y) - box.mMin.y);
}
} // namespace layer
