#pragma once

// ID3DXConstantTable: finds a stage's constants by name and writes their
// values into the device's constant registers for that stage.
#include "Platform/D3D9/LiveObjects.h"
#include "Platform/D3D9/ShaderBlob.h"
#include "Platform/D3DX9/ShaderConstant.h"

#include <vector>

namespace d3dx9 {

class ConstantTable final : public ID3DXConstantTable, public d3d9::LiveObject
{
public:
    ConstantTable(d3d9::ShaderStage stage, std::vector<ShaderConstant> constants)
        : stage_(stage), constants_(std::move(constants))
    {
    }

    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override;
    D3DXHANDLE GetConstantByName(D3DXHANDLE parent, LPCSTR name) override;
    HRESULT GetConstantDesc(D3DXHANDLE constant, D3DXCONSTANT_DESC* desc, UINT* count) override;
    HRESULT SetMatrix(IDirect3DDevice9* device, D3DXHANDLE constant,
                      const D3DXMATRIX* matrix) override;
    HRESULT SetVector(IDirect3DDevice9* device, D3DXHANDLE constant,
                      const D3DXVECTOR4* vector) override;
    HRESULT SetFloat(IDirect3DDevice9* device, D3DXHANDLE constant, FLOAT value) override;

private:
    const ShaderConstant* Find(D3DXHANDLE handle) const;
    // Writes floats at a byte offset of the stage's block, keeping the rest
    // of each register touched.
    HRESULT Write(IDirect3DDevice9* device, UINT byteOffset, const float* values, UINT count);

    ULONG refs_ = 1;
    d3d9::ShaderStage stage_;
    std::vector<ShaderConstant> constants_;
};

} // namespace d3dx9
