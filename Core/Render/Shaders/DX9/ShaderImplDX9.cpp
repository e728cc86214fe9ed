#include "Core/Render/Shaders/DX9/ShaderImplDX9.h"

#include "Core/Base/LogMessage.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/Shaders/DX9/ShaderVariableImplDX9.h"

namespace render
{
ShaderImplDX9::ShaderImplDX9(RenderDX9* render) : ShaderImpl(render), mRenderDX9(render) {}

ShaderImplDX9::~ShaderImplDX9()
{
    if (mVertexShader)
        mVertexShader->Release();
    if (mPixelShader)
        mPixelShader->Release();
    if (mVertexTable)
        mVertexTable->Release();
    if (mPixelTable)
        mPixelTable->Release();
}

HVResultEnum ShaderImplDX9::OnResetDevice()
{
    MarkAllDirty();
    return HV_OK;
}

HVResultEnum ShaderImplDX9::OnDeactivate()
{
    MarkAllDirty();
    return HV_OK;
}

ShaderScalarVariableImpl* ShaderImplDX9::CreateScalarVariable(const std::string& name, int table)
{
    ID3DXConstantTable* constants = table == 0 ? mVertexTable : mPixelTable;
    D3DXHANDLE handle = constants ? constants->GetConstantByName(nullptr, name.c_str()) : nullptr;
    if (!handle)
        HV_LOG(L"Shader constant '%s' not found\n") % base::Utf8ToWide(name);
    return new ShaderScalarVariableImplDX9(constants, handle, this, table, name);
}

ShaderTextureVariableImpl* ShaderImplDX9::CreateTextureVariable(const std::string& name)
{
    if (!mPixelTable)
        return nullptr;
    D3DXHANDLE handle = mPixelTable->GetConstantByName(nullptr, name.c_str());
    D3DXCONSTANT_DESC desc{};
    UINT count = 1;
    if (FAILED(mPixelTable->GetConstantDesc(handle, &desc, &count)))
        return nullptr;
    return new ShaderTextureVariableImplDX9(mPixelTable, handle, this, desc, name);
}

HVResultEnum ShaderImplDX9::Create(Render* render, const std::string& vertexSource, const std::string& pixelSource)
{
    if (!render)
        return HV_FAIL;
    mVertexSource = vertexSource;
    mPixelSource = pixelSource;
    const HVResultEnum result = CreateVertexShader();
    if (result != HV_OK)
        return result;
    return CreatePixelShader();
}

HVResultEnum ShaderImplDX9::Compile(const std::string& source, const char* entry, const char* profile,
                                    ID3DXBuffer** code, ID3DXConstantTable** table)
{
    ID3DXBuffer* messages = nullptr;
    const HRESULT hr = D3DXCompileShader(source.c_str(), UINT(source.size()), nullptr, nullptr, entry, profile,
                                         D3DXSHADER_DEBUG, code, &messages, table);
    std::wstring text;
    if (messages)
    {
        const char* bytes = static_cast<const char*>(messages->GetBufferPointer());
        std::string narrow(bytes, messages->GetBufferSize());
        while (!narrow.empty() && narrow.back() == '\0')
            narrow.pop_back();
        text = base::Utf8ToWide(narrow);
        messages->Release();
    }
    if (FAILED(hr))
    {
        *code = nullptr;
        return HV_FAIL;
    }
    if (messages)
        HV_LOG(L"%s\n") % text;
    return HV_OK;
}

HVResultEnum ShaderImplDX9::CreateVertexShader()
{
    ID3DXBuffer* code = nullptr;
    if (Compile(mVertexSource, "vertex_shader", "vs_1_1", &code, &mVertexTable) != HV_OK)
        return HV_FAIL;
    const HRESULT hr = mRenderDX9->mDevice->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                                               &mVertexShader);
    code->Release();
    if (FAILED(hr))
    {
        mVertexShader = nullptr;
        return HV_FAIL;
    }
    return HV_OK;
}

HVResultEnum ShaderImplDX9::CreatePixelShader()
{
    ID3DXBuffer* code = nullptr;
    if (Compile(mPixelSource, "pixel_shader", "ps_2_0", &code, &mPixelTable) != HV_OK)
        return HV_FAIL;
    const HRESULT hr = mRenderDX9->mDevice->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                                              &mPixelShader);
    code->Release();
    if (FAILED(hr))
    {
        mPixelShader = nullptr;
        return HV_FAIL;
    }
    return HV_OK;
}
} // namespace render
