#include "Game/Data/AttributedText.h"

#include "Core/Math/Transform2D.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/AttributedChunk.h"

AttributedText::~AttributedText()
{
    for (AttributedChunk* chunk : mChunks)
        delete chunk;
    mChunks.clear();
    mFont.Reset();
}

void AttributedText::AddInlineImage(wchar_t character, render::Image* picture) { mPictures[character] = picture; }

void AttributedText::SetText(const std::wstring& text)
{
    for (AttributedChunk* chunk : mChunks)
        delete chunk;
    mChunks.clear();
    mText = text;
    size_t start = 0;
    for (size_t i = 0; i < mText.size(); ++i)
    {
        const auto mapped = mPictures.find(mText[i]);
        if (mapped == mPictures.end())
            continue;
        if (i > start)
            mChunks.push_back(new AttributedStringChunk(mText.substr(start, i - start), mFont.Get()));
        mChunks.push_back(new AttributedImageChunk(mapped->second));
        start = i + 1;
    }
    mChunks.push_back(new AttributedStringChunk(mText.substr(start), mFont.Get()));
}

float AttributedText::GetWidth() const
{
    float width = 0.0f;
    for (const AttributedChunk* chunk : mChunks)
        width += chunk->mWidth;
    return width;
}

void AttributedText::Draw(render::Graphics* graphics, const math::Transform2D& transform)
{
    if (!graphics)
        return;
    math::Transform2D row = transform;
    const float scaleX = row.GetMatrix()[0];
    float x = -GetWidth() * scaleX / 2.0f;
    if (mFont)
        graphics->mFont = mFont.Get();
    for (AttributedChunk* chunk : mChunks)
    {
        math::Transform2D placed = transform;
        placed.Translate(x, 0.0f);
        chunk->Draw(graphics, placed);
        x += chunk->mWidth;
    }
}
