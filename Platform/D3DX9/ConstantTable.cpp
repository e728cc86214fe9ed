#include "Platform/D3DX9/ConstantTable.h"

#include <cstring>

namespace d3dx9 {

ULONG ConstantTable::Release()
{
    if (--refs_ > 0)
        return refs_;
    delete this;
    return 0;
}

// A handle is the address of the table's own entry.
const ShaderConstant* ConstantTable::Find(D3DXHANDLE handle) const
{
    for (const auto& constant : constants_)
        if (reinterpret_cast<D3DXHANDLE>(&constant) == handle)
            return &constant;
    return nullptr;
}

D3DXHANDLE ConstantTable::GetConstantByName(D3DXHANDLE parent, LPCSTR name)
{
    if (parent || !name)
        return nullptr;
    for (const auto& constant : constants_)
        if (constant.name == name)
            return reinterpret_cast<D3DXHANDLE>(&constant);
    return nullptr;
}

HRESULT ConstantTable::GetConstantDesc(D3DXHANDLE handle, D3DXCONSTANT_DESC* desc, UINT* count)
{
    const ShaderConstant* constant = Find(handle);
    if (!constant || !desc)
        return D3DERR_INVALIDCALL;
    *desc = D3DXCONSTANT_DESC{};
    desc->Name = constant->name.c_str();
    desc->RegisterSet = constant->registerSet;
    desc->RegisterIndex = constant->registerIndex;
    desc->RegisterCount = constant->registerCount;
    desc->Class = constant->parameterClass;
    desc->Type = constant->type;
    desc->Rows = constant->rows;
    desc->Columns = constant->columns;
    desc->Elements = constant->elements;
    desc->Bytes = constant->bytes;
    if (count)
        *count = 1;
    return D3D_OK;
}

HRESULT ConstantTable::Write(IDirect3DDevice9* device, UINT byteOffset, const float* values,
                             UINT count)
{
    const UINT first = byteOffset / 16;
    const UINT last = (byteOffset + count * 4 - 1) / 16;
    const UINT registers = last - first + 1;
    std::vector<float> store(size_t(registers) * 4);
    const bool vertex = stage_ == d3d9::ShaderStage::Vertex;
    HRESULT hr = vertex ? device->GetVertexShaderConstantF(first, store.data(), registers)
                        : device->GetPixelShaderConstantF(first, store.data(), registers);
    if (FAILED(hr))
        return hr;
    std::memcpy(reinterpret_cast<uint8_t*>(store.data()) + (byteOffset - first * 16), values,
                size_t(count) * 4);
    return vertex ? device->SetVertexShaderConstantF(first, store.data(), registers)
                  : device->SetPixelShaderConstantF(first, store.data(), registers);
}

HRESULT ConstantTable::SetMatrix(IDirect3DDevice9* device, D3DXHANDLE handle,
                                 const D3DXMATRIX* matrix)
{
    const ShaderConstant* constant = Find(handle);
    if (!device || !constant || !matrix || constant->registerSet != D3DXRS_FLOAT4)
        return D3DERR_INVALIDCALL;
    if (constant->parameterClass != D3DXPC_MATRIX_ROWS &&
        constant->parameterClass != D3DXPC_MATRIX_COLUMNS)
        return D3DERR_INVALIDCALL;
    // A column-major constant holds one column per register, so the matrix is
    // stored transposed: mul(v, M) then equals v x M.
    const bool columnMajor = constant->parameterClass == D3DXPC_MATRIX_COLUMNS;
    const UINT registers = columnMajor ? constant->columns : constant->rows;
    const UINT width = columnMajor ? constant->rows : constant->columns;
    for (UINT r = 0; r < registers && r < 4; ++r)
    {
        float values[4];
        for (UINT i = 0; i < 4; ++i)
            values[i] = columnMajor ? matrix->m[i][r] : matrix->m[r][i];
        if (HRESULT hr = Write(device, constant->byteOffset + r * 16, values, width); FAILED(hr))
            return hr;
    }
    return D3D_OK;
}

HRESULT ConstantTable::SetVector(IDirect3DDevice9* device, D3DXHANDLE handle,
                                 const D3DXVECTOR4* vector)
{
    const ShaderConstant* constant = Find(handle);
    if (!device || !constant || !vector || constant->registerSet != D3DXRS_FLOAT4)
        return D3DERR_INVALIDCALL;
    const float values[4] = {vector->x, vector->y, vector->z, vector->w};
    const UINT count = constant->parameterClass == D3DXPC_SCALAR ? 1 : constant->columns;
    return Write(device, constant->byteOffset, values, count > 4 ? 4 : count);
}

HRESULT ConstantTable::SetFloat(IDirect3DDevice9* device, D3DXHANDLE handle, FLOAT value)
{
    const ShaderConstant* constant = Find(handle);
    if (!device || !constant || constant->registerSet != D3DXRS_FLOAT4)
        return D3DERR_INVALIDCALL;
    return Write(device, constant->byteOffset, &value, 1);
}

} // namespace d3dx9
