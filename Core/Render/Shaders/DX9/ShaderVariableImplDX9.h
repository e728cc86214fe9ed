#pragma once

#include "Core/Render/Shaders/ShaderVariableImpl.h"
#include "Platform/D3DX9/D3DX9.h"

#include <string>

namespace render
{
class ShaderImplDX9;

// A constant the shader lacks has a null handle: setting it does nothing,
// so that a frame drawing with it still reaches the screen.
class ShaderScalarVariableImplDX9 : public ShaderScalarVariableImpl
{
public:
    ShaderScalarVariableImplDX9(ID3DXConstantTable* table, D3DXHANDLE handle, ShaderImplDX9* owner, int tableNumber,
                                const std::string& name);
    HVResultEnum SetMatrix(const math::Matrix4* matrix) override;
    HVResultEnum SetVector(const math::Point4& value) override;
    HVResultEnum SetVector(const math::Vector3& value) override;
    HVResultEnum SetVector(const Point2& value) override;
    HVResultEnum SetFloat(float value) override;

private:
    ID3DXConstantTable* mTable;
    D3DXHANDLE mHandle;
    ShaderImplDX9* mOwner;
    int mTableNumber;
    std::string mName;
};

class ShaderTextureVariableImplDX9 : public ShaderTextureVariableImpl
{
public:
    ShaderTextureVariableImplDX9(ID3DXConstantTable* table, D3DXHANDLE handle, ShaderImplDX9* owner,
                                 const D3DXCONSTANT_DESC& desc, const std::string& name);
    HVResultEnum SetTexture(Texture* texture) override;

private:
    ID3DXConstantTable* mTable;
    D3DXHANDLE mHandle;
    ShaderImplDX9* mOwner;
    D3DXCONSTANT_DESC mDesc;
    std::string mName;
};
} // namespace render
