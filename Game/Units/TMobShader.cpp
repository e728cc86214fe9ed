#include "Game/Units/TMobShader.h"

#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Resource/ResourceManager.h"

namespace
{
constexpr int kPixelConstants = 1;
} // namespace

TMobShader::~TMobShader() = default;

HVResultEnum TMobShader::BindVariables()
{
    render::ShaderScalarVariableImpl* device = mImpl->CreateScalarVariable("color2", kPixelConstants);
    if (!device)
        return HV_FAIL;
    mColor2 = new render::ShaderScalarVariable<math::Point4, 1>(mImpl, device);
    mImpl->AddVariable(mColor2);
    return ShaderTextured::BindVariables();
}

HVResultEnum TMobShader::Release()
{
    return resource::ResourceManager::Instance()->Remove<TMobShader>(this);
}

HVResultEnum TMobShader::DoUnLoad()
{
    mColor2 = nullptr;
    return ShaderTextured::DoUnLoad();
}

void TMobShader::SetColor2(const math::Point4& colour)
{
    if (mColor2)
        mColor2->Set(colour);
}
