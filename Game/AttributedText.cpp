#include "Game/AttributedText.h"

#include "Core/Render/Font.h"
#include "Game/AttributedChunk.h"

AttributedText::~AttributedText()
{
    for (AttributedChunk* chunk : mChunks)
        delete chunk;
}
void AttributedText::AddInlineImage(wchar_t character, render::Image* picture) { mPictures[character] = picture; }
void AttributedText::SetText(const std::wstring& text) { mText = text; }
void AttributedText::Draw(render::Graphics*, const math::Transform2D&) {}
float AttributedText::GetWidth() const { return 0.0f; }
