#include "Core/Render/Shaders/ShaderImpl.h"

#include "Core/Render/Render.h"

#include <algorithm>

namespace render
{
void ShaderVariable::SetDirty(bool changed)
{
    mChanged = changed ? 1 : 0;
    mOwner->SetVariablesDirty();
}

ShaderImpl::ShaderImpl(Render* render) : mRender(render) { mRender->RegisterShaderImpl(this); }

ShaderImpl::~ShaderImpl()
{
    mRender->UnregisterShaderImpl(this);
    for (ShaderVariable* variable : mVariables)
        delete variable;
}

HVResultEnum ShaderImpl::WriteVariables(CommandBuffer& stream)
{
    const size_t n = std::min(mVariables.size(), kMaxVariables);
    uint8_t count = 0;
    for (size_t i = 0; i < n; ++i)
        count = uint8_t(count + (mVariables[i]->IsChanged() ? 1 : 0));
    if (!stream.Put(count))
        return HV_FAIL;
    for (size_t i = 0; i < n; ++i)
    {
        if (!mVariables[i]->IsChanged())
            continue;
        if (!stream.Put(uint8_t(i)))
            return HV_FAIL;
        const HVResultEnum result = mVariables[i]->Write(stream);
        if (result != HV_OK)
            return result;
    }
    mVariablesDirty = 0;
    return HV_OK;
}

HVResultEnum ShaderImpl::ReadVariables(CommandBuffer& stream)
{
    uint8_t count = 0;
    if (!stream.Get(count))
        return HV_FAIL;
    for (uint8_t i = 0; i < count; ++i)
    {
        uint8_t index = 0;
        if (!stream.Get(index) || index >= mVariables.size())
            return HV_FAIL;
        const HVResultEnum result = mVariables[index]->Read(stream);
        if (result != HV_OK)
            return result;
    }
    return HV_OK;
}

void ShaderImpl::MarkAllDirty()
{
    for (ShaderVariable* variable : mVariables)
        variable->SetDirty(true);
    mVariablesDirty = 1;
}

HVResultEnum ShaderImpl::AddMatrixVariable(const std::string& name, int table,
                                           ShaderScalarPointer<math::Matrix4, 1>** out)
{
    ShaderScalarVariableImpl* device = CreateScalarVariable(name, table);
    if (!device)
        return HV_FAIL;
    auto* variable = new ShaderScalarPointer<math::Matrix4, 1>(this, device);
    mVariables.push_back(variable);
    *out = variable;
    return HV_OK;
}

HVResultEnum ShaderImpl::AddTextureVariable(const std::string& name, ShaderTextureVariable<1>** out)
{
    ShaderTextureVariableImpl* device = CreateTextureVariable(name);
    if (!device)
        return HV_FAIL;
    auto* variable = new ShaderTextureVariable<1>(this, device);
    mVariables.push_back(variable);
    *out = variable;
    return HV_OK;
}
} // namespace render
