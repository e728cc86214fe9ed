#include "Platform/D3D9/FailureInjection.h"
#include "Platform/D3DX9/Buffer.h"
#include "Platform/D3DX9/ConstantTable.h"
#include "Platform/D3DX9/D3DX9.h"
#include "Platform/D3DX9/HlslCompiler.h"

#include <cstdio>
#include <cstring>

namespace {

LPD3DXBUFFER TextBuffer(const std::string& text)
{
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return new d3dx9::Buffer(std::move(bytes));
}

// The engine drops failure messages, so they also go to standard error.
HRESULT Fail(const std::string& messages, LPD3DXBUFFER* out)
{
    std::fprintf(stderr, "D3DXCompileShader failed:\n%s", messages.c_str());
    if (out)
        *out = TextBuffer(messages);
    return E_FAIL;
}

} // namespace

HRESULT D3DXCompileShader(LPCSTR source, UINT length, const D3DXMACRO* defines,
                          LPD3DXINCLUDE include, LPCSTR function, LPCSTR profile, DWORD,
                          LPD3DXBUFFER* shader, LPD3DXBUFFER* messages,
                          LPD3DXCONSTANTTABLE* constants)
{
    if (shader)
        *shader = nullptr;
    if (messages)
        *messages = nullptr;
    if (constants)
        *constants = nullptr;
    if (HRESULT hr = d3d9::InjectedFailure("D3DXCompileShader"))
        return hr;
    if (!source || !function || !profile)
        return D3DERR_INVALIDCALL;
    if ((defines && defines->Name) || include)
        return Fail("error: macros and include handlers are not supported\n", messages);

    d3d9::ShaderStage stage;
    if (std::strncmp(profile, "vs_", 3) == 0)
        stage = d3d9::ShaderStage::Vertex;
    else if (std::strncmp(profile, "ps_", 3) == 0)
        stage = d3d9::ShaderStage::Pixel;
    else
        return Fail(std::string("error: unknown profile '") + profile + "'\n", messages);

    const std::string text(source, length);
    if (text.find_first_not_of(" \t\r\n") == std::string::npos)
        return Fail("error: empty shader text\n", messages);

    d3dx9::CompiledShader compiled = d3dx9::CompileHlsl(text, function, stage);
    if (!compiled.ok)
        return Fail(compiled.messages.empty() ? "error: compile failed\n" : compiled.messages,
                    messages);
    if (messages && !compiled.messages.empty())
        *messages = TextBuffer(compiled.messages);
    if (shader)
    {
        const std::vector<DWORD> words = d3d9::EncodeShaderBlob(compiled.blob);
        std::vector<uint8_t> bytes(words.size() * sizeof(DWORD));
        std::memcpy(bytes.data(), words.data(), bytes.size());
        *shader = new d3dx9::Buffer(std::move(bytes));
    }
    if (constants)
        *constants = new d3dx9::ConstantTable(stage, std::move(compiled.constants));
    return D3D_OK;
}
