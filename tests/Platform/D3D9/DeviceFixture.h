#pragma once

// A hidden GL window, a device on it, compiled HLSL pairs and pixel readback.
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3DX9/D3DX9.h"
#include "Platform/Win32/Window.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

namespace d3d9fixture {

// Positions are pixels (x right, y down); POSITION is float4.
struct TexVertex
{
    float x, y, z, w;
    D3DCOLOR diffuse;
    D3DCOLOR specular;
    float u, v;
};
inline constexpr DWORD kTexFvf =
    D3DFVF_XYZW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE2(0);

struct ColorVertex
{
    float x, y, z;
    D3DCOLOR color;
};
inline constexpr DWORD kColorFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

struct ShaderPair
{
    IDirect3DVertexShader9* vs = nullptr;
    IDirect3DPixelShader9* ps = nullptr;
    ID3DXConstantTable* vsTable = nullptr;
    ID3DXConstantTable* psTable = nullptr;
    void Release();
};

// Row-vector projection of a w x h pixel area onto clip space.
D3DXMATRIX Ortho(float w, float h);
D3DXMATRIX Translation(float x, float y);

class DeviceTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a device on the window; the fixture releases it.
    void CreateDevice(bool windowed, UINT width = kSize, UINT height = kSize);
    D3DPRESENT_PARAMETERS Params(bool windowed, UINT width, UINT height) const;

    ShaderPair Compile(const char* vsSource, const char* psSource);
    // Binds the pair and sets Proj to the current target's pixel area.
    void Use(const ShaderPair& pair, UINT targetWidth = kSize, UINT targetHeight = kSize);
    // The shared textured and colour pairs, compiled once per test.
    const ShaderPair& Textured();
    const ShaderPair& Geom();

    IDirect3DTexture9* MakeTexture(UINT w, UINT h, const std::vector<uint32_t>& argb);
    IDirect3DTexture9* MakeTarget(UINT w, UINT h);

    // Fills a fresh dynamic vertex buffer and binds it with its FVF.
    void BindVertices(const void* data, UINT bytes, UINT stride, DWORD fvf);
    void DrawTexQuad(float x0, float y0, float x1, float y1, D3DCOLOR color = 0xFFFFFFFF,
                     float u1 = 1.0f, float v1 = 1.0f);
    void DrawColorTriangles(const std::vector<ColorVertex>& vertices);

    std::vector<uint32_t> Pixels(IDirect3DSurface9* surface);
    std::vector<uint32_t> TargetPixels();
    std::vector<uint32_t> TargetPixels(UINT& width, UINT& height);
    std::vector<uint32_t> TexturePixels(IDirect3DTexture9* texture);
    uint32_t At(const std::vector<uint32_t>& pixels, UINT x, UINT y, UINT width = kSize) const
    {
        return pixels[size_t(y) * width + x];
    }

    static constexpr UINT kSize = 16;
    HWND hwnd_ = nullptr;
    SDL_Window* window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    std::vector<IUnknown*> owned_; // released in TearDown, newest first

private:
    ShaderPair textured_;
    ShaderPair geom_;
    std::vector<ShaderPair> pairs_;
};

} // namespace d3d9fixture
