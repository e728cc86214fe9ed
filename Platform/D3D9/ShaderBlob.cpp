#include "Platform/D3D9/ShaderBlob.h"

#include <cstring>

namespace d3d9 {

namespace {
constexpr DWORD kMagic = 0x48535648; // "HVSH"
constexpr DWORD kVersion = 1;
// magic, version, total words, stage, constant bytes, sampler count, glsl bytes
constexpr size_t kHeaderWords = 7;
constexpr size_t kMaxWords = 1u << 24;
} // namespace

int AttributeLocation(const std::string& semantic)
{
    if (semantic == "POSITION" || semantic == "POSITION0")
        return 0;
    if (semantic == "NORMAL" || semantic == "NORMAL0")
        return 1;
    if (semantic == "COLOR" || semantic == "COLOR0")
        return 2;
    if (semantic == "COLOR1")
        return 3;
    if (semantic == "TEXCOORD")
        return kTexCoordLocation0;
    if (semantic.size() == 9 && semantic.compare(0, 8, "TEXCOORD") == 0 && semantic[8] >= '0' &&
        semantic[8] <= '7')
        return kTexCoordLocation0 + (semantic[8] - '0');
    return -1;
}

std::vector<DWORD> EncodeShaderBlob(const ShaderBlob& blob)
{
    const size_t textWords = (blob.glsl.size() + 4) / 4; // keeps a NUL
    const size_t total = kHeaderWords + blob.samplerRegisters.size() + textWords;
    std::vector<DWORD> words(total, 0);
    words[0] = kMagic;
    words[1] = kVersion;
    words[2] = static_cast<DWORD>(total);
    words[3] = static_cast<DWORD>(blob.stage);
    words[4] = blob.constantBytes;
    words[5] = static_cast<DWORD>(blob.samplerRegisters.size());
    words[6] = static_cast<DWORD>(blob.glsl.size());
    for (size_t i = 0; i < blob.samplerRegisters.size(); ++i)
        words[kHeaderWords + i] = blob.samplerRegisters[i];
    std::memcpy(&words[kHeaderWords + blob.samplerRegisters.size()], blob.glsl.data(),
                blob.glsl.size());
    return words;
}

bool DecodeShaderBlob(const DWORD* code, ShaderBlob& blob)
{
    if (!code || code[0] != kMagic || code[1] != kVersion)
        return false;
    const size_t total = code[2];
    if (total < kHeaderWords || total > kMaxWords || code[3] > 1)
        return false;
    const size_t samplers = code[5];
    const size_t textBytes = code[6];
    if (samplers > kSamplerCount || kHeaderWords + samplers + (textBytes + 4) / 4 != total)
        return false;
    blob.stage = static_cast<ShaderStage>(code[3]);
    blob.constantBytes = code[4];
    blob.samplerRegisters.assign(code + kHeaderWords, code + kHeaderWords + samplers);
    for (uint32_t r : blob.samplerRegisters)
        if (r >= kSamplerCount)
            return false;
    const char* text = reinterpret_cast<const char*>(code + kHeaderWords + samplers);
    blob.glsl.assign(text, textBytes);
    return blob.constantBytes <= kConstantRegisters * 16;
}

} // namespace d3d9
