#include "Game/AttributedChunk.h"

AttributedStringChunk::AttributedStringChunk(const std::wstring& text, render::Font*) : mText(text) {}
void AttributedStringChunk::Draw(render::Graphics*, const math::Transform2D&) {}
AttributedImageChunk::AttributedImageChunk(render::Image* picture) : mPicture(picture) {}
void AttributedImageChunk::Draw(render::Graphics*, const math::Transform2D&) {}
