#pragma once

#include "Core/Render/Shaders/Shader.h"

namespace render
{
class Image;
class Texture;

// A shader pair that samples one texture through "TextureSampler".
class ShaderTextured : public Shader
{
public:
    using Shader::Shader;
    ~ShaderTextured() override;
    HVResultEnum BindVariables() override;
    // The manager keeps this type in a map of its own.
    HVResultEnum Release() override;
    HVResultEnum DoUnLoad() override
    {
        mTexture = nullptr;
        return Shader::DoUnLoad();
    }

    // Draws sample the image's texture (the root atlas texture for a part).
    void SetTexture(const Image* image);
    ShaderTextureVariable<1>* GetTextureVariable() const { return mTexture; }

protected:
    std::string mSamplerName = "TextureSampler";
    ShaderTextureVariable<1>* mTexture = nullptr;
};
} // namespace render
