#include "Core/Render/Shaders/ShaderTextured.h"

#include "Core/Render/Image.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Resource/ResourceManager.h"

namespace render
{
ShaderTextured::~ShaderTextured() = default;

HVResultEnum ShaderTextured::Release() { return resource::ResourceManager::Instance()->Remove<ShaderTextured>(this); }

void ShaderTextured::SetTexture(const Image* image)
{
    if (mTexture)
        mTexture->Set(image ? image->GetTexture() : nullptr);
}

HVResultEnum ShaderTextured::BindVariables()
{
    const HVResultEnum result = Shader::BindVariables();
    if (result != HV_OK)
        return result;
    return mImpl->AddTextureVariable(mSamplerName, &mTexture);
}
} // namespace render
