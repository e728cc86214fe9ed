#pragma once

#include "Core/Render/Shaders/ShaderImpl.h"
#include "Platform/D3DX9/D3DX9.h"

#include <string>

namespace render
{
class RenderDX9;

class ShaderImplDX9 : public ShaderImpl
{
public:
    explicit ShaderImplDX9(RenderDX9* render);
    ~ShaderImplDX9() override;

    HVResultEnum OnResetDevice() override;
    HVResultEnum OnLostDevice() override { return HV_OK; }
    HVResultEnum OnActivate() override { return HV_OK; }
    // Constants are device state shared by every shader: the next
    // activation must send them all again.
    HVResultEnum OnDeactivate() override;
    ShaderScalarVariableImpl* CreateScalarVariable(const std::string& name, int table) override;
    ShaderTextureVariableImpl* CreateTextureVariable(const std::string& name) override;

    HVResultEnum Create(Render* render, const std::string& vertexSource, const std::string& pixelSource);
    HVResultEnum CreateVertexShader();
    HVResultEnum CreatePixelShader();

    IDirect3DVertexShader9* GetVertexShader() const { return mVertexShader; }
    IDirect3DPixelShader9* GetPixelShader() const { return mPixelShader; }
    RenderDX9* GetRenderDX9() const { return mRenderDX9; }

private:
    // Compiles one stage; the code buffer is handed out on success.
    HVResultEnum Compile(const std::string& source, const char* entry, const char* profile, ID3DXBuffer** code,
                         ID3DXConstantTable** table);

    RenderDX9* mRenderDX9;
    IDirect3DVertexShader9* mVertexShader = nullptr;
    IDirect3DPixelShader9* mPixelShader = nullptr;
    ID3DXConstantTable* mVertexTable = nullptr;
    ID3DXConstantTable* mPixelTable = nullptr;
    std::string mVertexSource;
    std::string mPixelSource;
};
} // namespace render
