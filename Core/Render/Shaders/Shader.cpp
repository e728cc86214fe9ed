#include "Core/Render/Shaders/Shader.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Resource/ResourceManager.h"

namespace render
{
Shader::Shader() = default;

Shader::Shader(Render* render, ShaderImpl* impl) : mRender(render), mImpl(impl)
{
    // The implementation exists already, so loading only marks it loaded.
    Load();
}

Shader::~Shader() { delete mImpl; }

HVResultEnum Shader::Release() { return resource::ResourceManager::Instance()->Remove<Shader>(this); }

HVResultEnum Shader::DoLoad()
{
    if (mImpl)
        return HV_OK;
    if (!mRender)
        return HV_FAIL;
    const std::string pixel = base::ReadTextFile(GetName() + L"PS.hlsl");
    const std::string vertex = base::ReadTextFile(GetName() + L"VS.hlsl");
    const HVResultEnum result = mRender->CreateShaderImpl(vertex, pixel, &mImpl);
    if (result != HV_OK)
        return result;
    return BindVariables();
}

HVResultEnum Shader::DoUnLoad()
{
    delete mImpl;
    mImpl = nullptr;
    mProjection = nullptr;
    return HV_OK;
}

HVResultEnum Shader::BindVariables() { return mImpl->AddMatrixVariable(mProjectionName, 0, &mProjection); }

HVResultEnum Shader::SetRender(Render* render)
{
    if (!render)
        return HV_FAIL;
    mRender = render;
    return HV_OK;
}

void Shader::SetProjection(const math::Matrix4* projection)
{
    if (mProjection)
        mProjection->Set(projection);
}
} // namespace render
