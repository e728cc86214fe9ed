#include "Core/Render/Shaders/ShaderTextured.h"

#include "Core/Render/Shaders/ShaderImpl.h"

namespace render
{
ShaderTextured::~ShaderTextured() = default;

HVResultEnum ShaderTextured::BindVariables()
{
    const HVResultEnum result = Shader::BindVariables();
    if (result != HV_OK)
        return result;
    return mImpl->AddTextureVariable(mSamplerName, &mTexture);
}
} // namespace render
