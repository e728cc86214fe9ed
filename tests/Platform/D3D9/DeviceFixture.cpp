#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"
#include "support/HlslSamples.h"

#include <cstring>

namespace d3d9fixture {

void ShaderPair::Release()
{
    for (IUnknown* object : std::initializer_list<IUnknown*>{vs, ps, vsTable, psTable})
        if (object)
            object->Release();
    *this = {};
}

D3DXMATRIX Ortho(float w, float h)
{
    return D3DXMATRIX{{{2.0f / w, 0, 0, 0}, {0, -2.0f / h, 0, 0}, {0, 0, 1, 0}, {-1, 1, 0, 1}}};
}

D3DXMATRIX Translation(float x, float y)
{
    return D3DXMATRIX{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {x, y, 0, 1}}};
}

void DeviceTest::SetUp()
{
    // A hidden, borderless window of the window stand-in, kSize pixels square.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"D3D9Test";
    RegisterClassExW(&windowClass); // a second registration fails harmlessly
    hwnd_ = CreateWindowExW(0, L"D3D9Test", L"d3d9", WS_POPUP, 0, 0, int(kSize), int(kSize),
                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    window_ = hwnd_->sdlWindow;
    ASSERT_NE(window_, nullptr);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d_, nullptr);
}

D3DPRESENT_PARAMETERS DeviceTest::Params(bool windowed, UINT width, UINT height) const
{
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = width;
    params.BackBufferHeight = height;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 1;
    params.SwapEffect = windowed ? D3DSWAPEFFECT_DISCARD : D3DSWAPEFFECT_FLIP;
    params.hDeviceWindow = hwnd_;
    params.Windowed = windowed ? TRUE : FALSE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return params;
}

void DeviceTest::CreateDevice(bool windowed, UINT width, UINT height)
{
    D3DPRESENT_PARAMETERS params = Params(windowed, width, height);
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, hwnd_, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                 &params, &device_),
              D3D_OK);
    ASSERT_NE(device_, nullptr);
}

void DeviceTest::TearDown()
{
    d3d9test::ClearFailures();
    if (device_)
    {
        EXPECT_EQ(d3d9test::TakeGlError(device_), 0u);
    }
    textured_.Release();
    geom_.Release();
    for (auto& pair : pairs_)
        pair.Release();
    for (auto it = owned_.rbegin(); it != owned_.rend(); ++it)
        (*it)->Release();
    owned_.clear();
    if (device_)
        device_->Release();
    if (d3d_)
        d3d_->Release();
    if (hwnd_)
        DestroyWindow(hwnd_);
    EXPECT_EQ(d3d9test::LiveObjectCount(), 0);
}

ShaderPair DeviceTest::Compile(const char* vsSource, const char* psSource)
{
    ShaderPair pair;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* messages = nullptr;
    HRESULT hr = D3DXCompileShader(vsSource, UINT(std::strlen(vsSource)), nullptr, nullptr,
                                   "vertex_shader", "vs_1_1", D3DXSHADER_DEBUG, &code, &messages,
                                   &pair.vsTable);
    EXPECT_EQ(hr, D3D_OK);
    if (messages)
        messages->Release();
    if (code)
    {
        EXPECT_EQ(device_->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                              &pair.vs),
                  D3D_OK);
        code->Release();
    }
    code = messages = nullptr;
    hr = D3DXCompileShader(psSource, UINT(std::strlen(psSource)), nullptr, nullptr,
                           "pixel_shader", "ps_2_0", D3DXSHADER_DEBUG, &code, &messages,
                           &pair.psTable);
    EXPECT_EQ(hr, D3D_OK);
    if (messages)
        messages->Release();
    if (code)
    {
        EXPECT_EQ(device_->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()),
                                             &pair.ps),
                  D3D_OK);
        code->Release();
    }
    pairs_.push_back(pair);
    return pair;
}

const ShaderPair& DeviceTest::Textured()
{
    if (!textured_.vs)
    {
        textured_ = Compile(hlsl::kTexturedVs, hlsl::kTexturedMultPs);
        pairs_.pop_back();
    }
    return textured_;
}

const ShaderPair& DeviceTest::Geom()
{
    if (!geom_.vs)
    {
        geom_ = Compile(hlsl::kGeomVs, hlsl::kGeomPs);
        pairs_.pop_back();
    }
    return geom_;
}

void DeviceTest::Use(const ShaderPair& pair, UINT targetWidth, UINT targetHeight)
{
    ASSERT_EQ(device_->SetVertexShader(pair.vs), D3D_OK);
    ASSERT_EQ(device_->SetPixelShader(pair.ps), D3D_OK);
    const D3DXMATRIX proj = Ortho(float(targetWidth), float(targetHeight));
    ASSERT_EQ(pair.vsTable->SetMatrix(device_, pair.vsTable->GetConstantByName(nullptr, "Proj"),
                                      &proj),
              D3D_OK);
}

IDirect3DTexture9* DeviceTest::MakeTexture(UINT w, UINT h, const std::vector<uint32_t>& argb)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(w, h, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                     nullptr),
              D3D_OK);
    if (!texture)
        return nullptr;
    owned_.push_back(texture);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < h; ++y)
        std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(y) * UINT(locked.Pitch),
                    &argb[size_t(y) * w], size_t(w) * 4);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

IDirect3DTexture9* DeviceTest::MakeTarget(UINT w, UINT h)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(w, h, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                     D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    if (texture)
        owned_.push_back(texture);
    return texture;
}

void DeviceTest::BindVertices(const void* data, UINT bytes, UINT stride, DWORD fvf)
{
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, fvf,
                                          D3DPOOL_DEFAULT, &buffer, nullptr),
              D3D_OK);
    owned_.push_back(buffer);
    void* p = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &p, D3DLOCK_DISCARD), D3D_OK);
    std::memcpy(p, data, bytes);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(device_->SetFVF(fvf), D3D_OK);
    ASSERT_EQ(device_->SetStreamSource(0, buffer, 0, stride), D3D_OK);
}

void DeviceTest::DrawTexQuad(float x0, float y0, float x1, float y1, D3DCOLOR color, float u1,
                             float v1)
{
    // Clockwise on screen, as the engine's quads are.
    const TexVertex quad[4] = {
        {x0, y0, 0, 1, color, 0, 0, 0},
        {x1, y0, 0, 1, color, 0, u1, 0},
        {x0, y1, 0, 1, color, 0, 0, v1},
        {x1, y1, 0, 1, color, 0, u1, v1},
    };
    BindVertices(quad, sizeof(quad), sizeof(TexVertex), kTexFvf);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
}

void DeviceTest::DrawColorTriangles(const std::vector<ColorVertex>& vertices)
{
    BindVertices(vertices.data(), UINT(vertices.size() * sizeof(ColorVertex)), sizeof(ColorVertex),
                 kColorFvf);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, UINT(vertices.size() / 3)), D3D_OK);
}

std::vector<uint32_t> DeviceTest::Pixels(IDirect3DSurface9* surface)
{
    std::vector<uint32_t> pixels;
    UINT w = 0, h = 0;
    EXPECT_TRUE(d3d9test::ReadPixels(surface, pixels, w, h));
    return pixels;
}

std::vector<uint32_t> DeviceTest::TargetPixels()
{
    UINT width = 0, height = 0;
    return TargetPixels(width, height);
}

std::vector<uint32_t> DeviceTest::TargetPixels(UINT& width, UINT& height)
{
    std::vector<uint32_t> pixels;
    IDirect3DSurface9* target = nullptr;
    EXPECT_EQ(device_->GetRenderTarget(0, &target), D3D_OK);
    if (!target)
        return pixels;
    EXPECT_TRUE(d3d9test::ReadPixels(target, pixels, width, height));
    target->Release();
    return pixels;
}

std::vector<uint32_t> DeviceTest::TexturePixels(IDirect3DTexture9* texture)
{
    std::vector<uint32_t> pixels;
    UINT w = 0, h = 0;
    EXPECT_TRUE(d3d9test::ReadPixels(texture, pixels, w, h));
    return pixels;
}

} // namespace d3d9fixture
