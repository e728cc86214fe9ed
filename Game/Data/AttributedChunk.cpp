#include "Game/Data/AttributedChunk.h"

#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"

namespace
{
constexpr int kLeft = 0;
constexpr int kCentre = 2;
} // namespace

AttributedStringChunk::AttributedStringChunk(const std::wstring& text, render::Font* font) : mText(text)
{
    if (!font)
        return;
    // Laid out with the font's default options and measured, not drawn.
    auto record = font->Text(mText);
    record->SetWidthOut(&mWidth);
}

void AttributedStringChunk::Draw(render::Graphics* graphics, const math::Transform2D& transform)
{
    if (!graphics || mText.empty())
        return;
    auto record = graphics->DrawText(mText).Transform(transform);
    record->SetAlign(kLeft, kCentre);
}

AttributedImageChunk::AttributedImageChunk(render::Image* picture) : mPicture(picture)
{
    mWidth = picture ? static_cast<float>(picture->GetWidth()) : 0.0f;
}

void AttributedImageChunk::Draw(render::Graphics* graphics, const math::Transform2D& transform)
{
    if (!graphics || !mPicture)
        return;
    auto record = graphics->DrawImage(*mPicture).Transform(transform);
    record->SetAnchor(kLeft, kCentre);
}
