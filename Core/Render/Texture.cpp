#include "Core/Render/Texture.h"

#include "Core/Render/Render.h"

namespace render
{
Texture::Texture(Render* render) : mRender(render) { mRender->RegisterTexture(this); }

Texture::~Texture() { mRender->UnregisterTexture(this); }
} // namespace render
