#pragma once

// The compiled-shader format shared by the compile call and the device.
// CreateVertexShader receives only a pointer, so the blob carries its size.
#include "Platform/Win32/Types.h"

#include <string>
#include <vector>

namespace d3d9 {

enum class ShaderStage : uint32_t
{
    Vertex = 0,
    Pixel = 1,
};

// Names the generated GLSL uses and the device binds by.
inline constexpr const char* kVertexConstantsBlock = "hv_VSConstants";
inline constexpr const char* kPixelConstantsBlock = "hv_PSConstants";
inline constexpr const char* kPixelOffsetUniform = "hv_pixelOffset";
inline constexpr const char* kSamplerPrefix = "hv_s"; // followed by the register number
inline constexpr unsigned kConstantRegisters = 256;   // float4 registers per stage
inline constexpr unsigned kSamplerCount = 16;

// Vertex attribute locations by input semantic; -1 for one we do not feed.
// POSITION 0, NORMAL 1, COLOR0 2, COLOR1 3, TEXCOORD0..7 4..11.
int AttributeLocation(const std::string& semantic);
inline constexpr int kTexCoordLocation0 = 4;

struct ShaderBlob
{
    ShaderStage stage = ShaderStage::Vertex;
    std::string glsl;
    uint32_t constantBytes = 0;             // size of the stage's constant block
    std::vector<uint32_t> samplerRegisters; // registers the stage samples
};

std::vector<DWORD> EncodeShaderBlob(const ShaderBlob& blob);
// False for anything not made by EncodeShaderBlob.
bool DecodeShaderBlob(const DWORD* code, ShaderBlob& blob);

} // namespace d3d9
