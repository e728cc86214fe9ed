#pragma once

// DX9 HLSL -> glslang (HLSL front end, DX9-compatible) -> SPIR-V ->
// SPIRV-Cross GLSL 330 shaped for the device: inputs located by semantic,
// varyings named by semantic, one constant block per stage, samplers named
// by register, and a main that writes gl_Position with the half-pixel and
// top-row-first fix-ups.
#include "Platform/D3D9/ShaderBlob.h"
#include "Platform/D3DX9/ShaderConstant.h"

#include <string>
#include <vector>

namespace d3dx9 {

struct CompiledShader
{
    bool ok = false;
    std::string messages; // empty when the compiler said nothing
    d3d9::ShaderBlob blob;
    std::vector<ShaderConstant> constants;
};

CompiledShader CompileHlsl(const std::string& source, const std::string& entryPoint,
                           d3d9::ShaderStage stage);

} // namespace d3dx9
