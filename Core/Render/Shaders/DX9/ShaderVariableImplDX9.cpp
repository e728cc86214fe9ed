#include "Core/Render/Shaders/DX9/ShaderVariableImplDX9.h"

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Shaders/DX9/ShaderImplDX9.h"

#include <cstring>

namespace render
{
namespace
{
HVResultEnum Check(HRESULT hr) { return SUCCEEDED(hr) ? HV_OK : HV_FAIL; }
} // namespace

ShaderScalarVariableImplDX9::ShaderScalarVariableImplDX9(ID3DXConstantTable* table, D3DXHANDLE handle,
                                                         ShaderImplDX9* owner, int tableNumber, const std::string& name)
    : mTable(table), mHandle(handle), mOwner(owner), mTableNumber(tableNumber), mName(name)
{
}

HVResultEnum ShaderScalarVariableImplDX9::SetMatrix(const math::Matrix4* matrix)
{
    if (!mHandle || !matrix)
        return HV_OK;
    D3DXMATRIX m;
    std::memcpy(m.m, matrix->m, sizeof m.m);
    return Check(mTable->SetMatrix(mOwner->GetRenderDX9()->mDevice, mHandle, &m));
}

HVResultEnum ShaderScalarVariableImplDX9::SetVector(const math::Point4& value)
{
    if (!mHandle)
        return HV_OK;
    const D3DXVECTOR4 v{value.x, value.y, value.z, value.w};
    return Check(mTable->SetVector(mOwner->GetRenderDX9()->mDevice, mHandle, &v));
}

HVResultEnum ShaderScalarVariableImplDX9::SetVector(const math::Vector3& value)
{
    return SetVector(math::Point4(value.x, value.y, value.z, 1.0f));
}

HVResultEnum ShaderScalarVariableImplDX9::SetVector(const Point2& value)
{
    return SetVector(math::Point4(value.x, value.y, 0.0f, 1.0f));
}

HVResultEnum ShaderScalarVariableImplDX9::SetFloat(float value)
{
    if (!mHandle)
        return HV_OK;
    return Check(mTable->SetFloat(mOwner->GetRenderDX9()->mDevice, mHandle, value));
}

ShaderTextureVariableImplDX9::ShaderTextureVariableImplDX9(ID3DXConstantTable* table, D3DXHANDLE handle,
                                                           ShaderImplDX9* owner, const D3DXCONSTANT_DESC& desc,
                                                           const std::string& name)
    : mTable(table), mHandle(handle), mOwner(owner), mDesc(desc), mName(name)
{
}

HVResultEnum ShaderTextureVariableImplDX9::SetTexture(Texture* texture)
{
    IDirect3DTexture9* d3dTexture = texture ? static_cast<TextureDX9*>(texture)->GetTexture() : nullptr;
    return Check(mOwner->GetRenderDX9()->mDevice->SetTexture(mDesc.RegisterIndex, d3dTexture));
}
} // namespace render
