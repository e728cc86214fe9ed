#pragma once

// One entry of a compiled shader's constant table.
#include "Platform/D3DX9/D3DX9.h"

#include <string>

namespace d3dx9 {

struct ShaderConstant
{
    std::string name;
    D3DXREGISTER_SET registerSet = D3DXRS_FLOAT4;
    D3DXPARAMETER_CLASS parameterClass = D3DXPC_SCALAR;
    D3DXPARAMETER_TYPE type = D3DXPT_FLOAT;
    UINT rows = 1;    // as the HLSL declares them
    UINT columns = 1;
    UINT elements = 1;
    UINT byteOffset = 0; // in the stage's constant block
    UINT registerIndex = 0;
    UINT registerCount = 1;
    UINT bytes = 0;
};

} // namespace d3dx9
