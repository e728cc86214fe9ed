#include "Core/Render/DX9/RenderDX9.h"

#include "Core/App/Application.h"
#include "Core/App/Window.h"
#include "Core/Base/LogMessage.h"
#include "Core/Render/DX9/IndexBufferImplDX9.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/DX9/VertexBufferImplDX9.h"
#include "Core/Render/Shaders/DX9/BuiltinShaders.h"
#include "Core/Render/Shaders/DX9/ShaderImplDX9.h"
#include "Core/Render/VertexFormat.h"
#include "Platform/Win32/Sleep.h"

namespace render
{
namespace
{
HVResultEnum Check(HRESULT hr) { return SUCCEEDED(hr) ? HV_OK : HV_FAIL; }

D3DPRIMITIVETYPE MapPrimitive(int32_t type)
{
    switch (type)
    {
    case kPrimitivePoints: return D3DPT_POINTLIST;
    case kPrimitiveLines: return D3DPT_LINELIST;
    case kPrimitiveLineStrip: return D3DPT_LINESTRIP;
    case kPrimitiveTriangleStrip: return D3DPT_TRIANGLESTRIP;
    case kPrimitiveTriangleFan: return D3DPT_TRIANGLEFAN;
    default: return D3DPT_TRIANGLELIST;
    }
}

D3DCOLOR PackColour(const float c[4])
{
    auto channel = [](float v) { return DWORD(uint8_t(int(v * 255.0f))); };
    return (channel(c[3]) << 24) | (channel(c[0]) << 16) | (channel(c[1]) << 8) | channel(c[2]);
}
} // namespace

RenderDX9::RenderDX9() { mScissorFollowsTarget = 1; }

RenderDX9::~RenderDX9()
{
    ReleaseResources();
    if (mBackBuffer)
        mBackBuffer->Release();
    if (mDevice)
        mDevice->Release();
    if (mD3D)
        mD3D->Release();
}

HVResultEnum RenderDX9::FillPresentParameters()
{
    D3DDISPLAYMODE mode{};
    if (FAILED(mD3D->GetAdapterDisplayMode(0, &mode)))
        return HV_FAIL;
    mPresentParams = D3DPRESENT_PARAMETERS{};
    mPresentParams.BackBufferWidth = mWidth;
    mPresentParams.BackBufferHeight = mHeight;
    mPresentParams.BackBufferCount = 1;
    mPresentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
    mPresentParams.hDeviceWindow = mHwnd;
    mPresentParams.Windowed = mWindowed;
    mPresentParams.EnableAutoDepthStencil = 1;
    mPresentParams.AutoDepthStencilFormat = D3DFMT_D24S8;
    mPresentParams.Flags = 0;
    mPresentParams.PresentationInterval = mPresentInterval;
    if (mWindowed)
    {
        mPresentParams.BackBufferFormat = mode.Format;
        mPresentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    }
    else
    {
        mPresentParams.BackBufferFormat = D3DFMT_X8R8G8B8;
        mPresentParams.SwapEffect = D3DSWAPEFFECT_FLIP;
        mPresentParams.FullScreen_RefreshRateInHz = 0;
    }
    return HV_OK;
}

HVResultEnum RenderDX9::InitRender(app::Window* window, const RenderInitParam& param)
{
    mWindow = window;
    mHwnd = window ? window->GetHandle() : nullptr;
    mWindowed = param.mWindowed;
    mWidth = param.mWidth;
    mHeight = param.mHeight;
    mMultithreaded = 1;

    if (!mD3D)
        mD3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!mD3D)
        return HV_FAIL;
    if (FillPresentParameters() != HV_OK)
        return HV_FAIL;
    const DWORD threading = mMultithreaded ? D3DCREATE_MULTITHREADED : 0;
    if (FAILED(mD3D->CreateDevice(0, D3DDEVTYPE_HAL, mHwnd, D3DCREATE_HARDWARE_VERTEXPROCESSING | threading,
                                  &mPresentParams, &mDevice)) &&
        FAILED(mD3D->CreateDevice(0, D3DDEVTYPE_HAL, mHwnd, D3DCREATE_SOFTWARE_VERTEXPROCESSING | threading,
                                  &mPresentParams, &mDevice)))
    {
        mDevice = nullptr;
        return HV_FAIL;
    }

    D3DCAPS9 caps{};
    if (FAILED(mD3D->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps)))
        return HV_FAIL;
    HV_LOG(L"Max texture Width: %d\n") % uint32_t(caps.MaxTextureWidth);
    HV_LOG(L"Max texture Height: %d\n") % uint32_t(caps.MaxTextureHeight);
    mMaxPrimitiveCount = caps.MaxPrimitiveCount;
    mMaxTextureWidth = caps.MaxTextureWidth;
    mMaxTextureHeight = caps.MaxTextureHeight;
    mMaxVertexIndex = caps.MaxVertexIndex;
    if (mMaxVertexIndex < 0xFFFF)
        return HV_FAIL;

    mThreeBlendStages = caps.MaxTextureBlendStages >= 3;
    mVertexShader10 = caps.VertexShaderVersion >= D3DVS_VERSION(1, 0);
    mVertexShader20 = caps.VertexShaderVersion >= D3DVS_VERSION(2, 0);
    mPixelShader10 = caps.PixelShaderVersion >= D3DPS_VERSION(1, 0);
    mPixelShader20 = caps.PixelShaderVersion >= D3DPS_VERSION(2, 0);
    if (caps.VertexShaderVersion < D3DVS_VERSION(1, 1) || caps.PixelShaderVersion < D3DPS_VERSION(2, 0))
    {
        app::Application* application = app::Application::Instance();
        application->mRenderInitFailed = true;
        application->Stop();
        return HV_FAIL;
    }

    const D3DFORMAT dxt[5] = {D3DFMT_DXT1, D3DFMT_DXT2, D3DFMT_DXT3, D3DFMT_DXT4, D3DFMT_DXT5};
    uint8_t* flags[5] = {&mDXT1, &mDXT2, &mDXT3, &mDXT4, &mDXT5};
    for (int i = 0; i < 5; ++i)
        *flags[i] = SUCCEEDED(mD3D->CheckDeviceFormat(0, D3DDEVTYPE_HAL, mPresentParams.BackBufferFormat, 0,
                                                      D3DRTYPE_TEXTURE, dxt[i]));
    mAnisotropicMin = (caps.TextureFilterCaps & D3DPTFILTERCAPS_MINFANISOTROPIC) != 0;
    mAnisotropicMag = (caps.TextureFilterCaps & D3DPTFILTERCAPS_MAGFANISOTROPIC) != 0;
    if (!(caps.RasterCaps & D3DPRASTERCAPS_SCISSORTEST))
    {
        mScissorTest = 0;
        return HV_FAIL;
    }
    mScissorTest = 1;

    if (FAILED(mDevice->GetRenderTarget(0, &mBackBuffer)))
    {
        mBackBuffer = nullptr;
        return HV_FAIL;
    }
    if (PrepareBackBuffer() != HV_OK)
        return HV_FAIL;
    const HVResultEnum result = SetFixedDeviceState();
    if (result != HV_OK)
        return result;
    return Render::InitRender(window, param);
}

HVResultEnum RenderDX9::PrepareBackBuffer()
{
    mViewport = D3DVIEWPORT9{0, 0, mWidth, mHeight, 0.0f, 1.0f};
    if (FAILED(mDevice->SetViewport(&mViewport)))
        return HV_FAIL;
    if (FAILED(mDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0)))
        return HV_FAIL;
    return Check(mDevice->Present(nullptr, nullptr, nullptr, nullptr));
}

HVResultEnum RenderDX9::SetFixedDeviceState()
{
    if (DoSetSamplerFilter(kFilterLinear) != HV_OK)
        return HV_FAIL;
    const struct
    {
        D3DSAMPLERSTATETYPE type;
        DWORD value;
    } samplers[] = {
        {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP},
        {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP},
    };
    for (const auto& s : samplers)
        if (FAILED(mDevice->SetSamplerState(0, s.type, s.value)))
            return HV_FAIL;
    const struct
    {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } states[] = {
        {D3DRS_LIGHTING, 0},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_SEPARATEALPHABLENDENABLE, 1},
        {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE},
        {D3DRS_DESTBLENDALPHA, D3DBLEND_ONE},
        {D3DRS_ZENABLE, 0},
    };
    for (const auto& s : states)
        if (FAILED(mDevice->SetRenderState(s.state, s.value)))
            return HV_FAIL;
    return HV_OK;
}

HVResultEnum RenderDX9::InitDeviceState()
{
    HV_LOG(L"RenderDX9::InitDeviceState()\n");
    if (mBackBuffer)
    {
        mBackBuffer->Release();
        mBackBuffer = nullptr;
    }
    if (FAILED(mDevice->GetRenderTarget(0, &mBackBuffer)))
    {
        mBackBuffer = nullptr;
        return HV_FAIL;
    }
    if (PrepareBackBuffer() != HV_OK)
        return HV_FAIL;
    if (SetFixedDeviceState() != HV_OK)
        return HV_FAIL;
    InitStates();
    return HV_OK;
}

HVResultEnum RenderDX9::PrepareSwitchScreenMode() { return LostDevice(); }

HVResultEnum RenderDX9::SwitchScreenMode(const RenderInitParam& param)
{
    mWindowed = param.mWindowed;
    mWidth = param.mWidth;
    mHeight = param.mHeight;
    mScaleX = param.mScaleX;
    mScaleY = param.mScaleY;
    mOffsetX = param.mOffsetX;
    mOffsetY = param.mOffsetY;
    if (param.mDeriveProjection)
    {
        const HVResultEnum result = MakeOrthoProjection(float(mWidth), float(mHeight), 0.0f, &mProjection);
        if (result != HV_OK)
            return result;
    }
    else
        mProjection = param.mProjection;
    if (FillPresentParameters() != HV_OK)
        return HV_FAIL;
    return ResetDevice();
}

HVResultEnum RenderDX9::CreateTexture(Texture** out)
{
    *out = new TextureDX9(this);
    return HV_OK;
}

HVResultEnum RenderDX9::CreateShaderImpl(const std::string& vertexSource, const std::string& pixelSource,
                                         ShaderImpl** out)
{
    auto* impl = new ShaderImplDX9(this);
    const HVResultEnum result = impl->Create(this, vertexSource, pixelSource);
    if (result != HV_OK)
    {
        delete impl;
        return result;
    }
    *out = impl;
    return HV_OK;
}

HVResultEnum RenderDX9::CreateGeomShaderImpl(ShaderImpl** out)
{
    return CreateShaderImpl(shaders::kGeomVertex, shaders::kGeomPixel, out);
}

HVResultEnum RenderDX9::CreateTexturedMultShaderImpl(ShaderImpl** out)
{
    return CreateShaderImpl(shaders::kTexturedVertex, shaders::kTexturedMultPixel, out);
}

HVResultEnum RenderDX9::CreateTexturedTintShaderImpl(ShaderImpl** out)
{
    return CreateShaderImpl(shaders::kTexturedTintVertex, shaders::kTexturedTintPixel, out);
}

HVResultEnum RenderDX9::CreateVertexBuffer(const VertexFormat* format, uint32_t count, bool dynamic,
                                           VertexBufferImpl** out)
{
    auto* buffer = new VertexBufferImplDX9(this);
    const HVResultEnum result = buffer->Create(format, count, dynamic);
    if (result != HV_OK)
    {
        delete buffer;
        return result;
    }
    *out = buffer;
    return HV_OK;
}

HVResultEnum RenderDX9::CreateIndexBuffer(uint32_t elementSize, uint32_t count, bool dynamic, IndexBufferImpl** out)
{
    auto* buffer = new IndexBufferImplDX9(this);
    const HVResultEnum result = buffer->Create(elementSize, count, dynamic);
    if (result != HV_OK)
    {
        delete buffer;
        return result;
    }
    *out = buffer;
    return HV_OK;
}

bool RenderDX9::IsDeviceReady()
{
    const bool windowed = mWindow ? mWindow->mWindowed : mWindowed != 0;
    const bool canDraw = !mWindow || (windowed ? !mWindow->mMinimized : mWindow->mActive);
    if (canDraw)
    {
        const HRESULT hr = mDevice->TestCooperativeLevel();
        if (hr == D3DERR_DEVICELOST)
        {
            if (!mDeviceLost)
            {
                LostDevice();
                mDeviceLost = 1;
            }
            Sleep(100);
            return false;
        }
        if (hr == D3DERR_DEVICENOTRESET)
        {
            // A switch away and back between two frames, or a failed mode
            // switch: the default-pool objects still live and would make
            // every Reset fail.
            if (!mDeviceLost)
            {
                LostDevice();
                mDeviceLost = 1;
            }
            if (ResetDevice() == HV_OK)
                mDeviceLost = 0;
            return false;
        }
        if (hr == D3D_OK && mDeviceLost)
        {
            // The window came back without the device being lost: the
            // released objects must still be made again.
            if (ResetDevice() == HV_OK)
                mDeviceLost = 0;
            return false;
        }
        return hr == D3D_OK;
    }
    if (windowed)
        return false;
    if (!mDeviceLost)
    {
        LostDevice();
        mDeviceLost = 1;
        return false;
    }
    Sleep(100);
    return false;
}

HVResultEnum RenderDX9::LostDevice()
{
    HV_LOG(L"RenderDX9::LostDevice()\n");
    ForgetFrame();
    for (Buffer* buffer : std::vector<Buffer*>(mBuffers))
        buffer->OnLostDevice();
    for (Texture* texture : std::vector<Texture*>(mTextures))
        texture->OnLostDevice();
    for (ShaderImpl* impl : std::vector<ShaderImpl*>(mShaderImpls))
        impl->OnLostDevice();
    if (mBackBuffer)
    {
        mBackBuffer->Release();
        mBackBuffer = nullptr;
    }
    return HV_OK;
}

HVResultEnum RenderDX9::ResetDevice()
{
    HV_LOG(L"RenderDX9::ResetDevice()\n");
    FillPresentParameters();
    const HRESULT hr = mDevice->Reset(&mPresentParams);
    if (FAILED(hr))
    {
        if (hr == D3DERR_DEVICELOST)
            HV_LOG(L"\tD3DERR_DEVICELOST\n");
        else if (hr == D3DERR_DRIVERINTERNALERROR)
            HV_LOG(L"\tD3DERR_DRIVERINTERNALERROR\n");
        else if (hr == D3DERR_OUTOFVIDEOMEMORY)
            HV_LOG(L"\tD3DERR_OUTOFVIDEOMEMORY \n");
        return HV_FAIL;
    }
    HV_LOG(L"\tD3D_OK\n");
    ++mResetCount;
    for (Buffer* buffer : std::vector<Buffer*>(mBuffers))
        buffer->OnResetDevice();
    for (Texture* texture : std::vector<Texture*>(mTextures))
        texture->OnResetDevice();
    for (ShaderImpl* impl : std::vector<ShaderImpl*>(mShaderImpls))
        impl->OnResetDevice();
    InitDeviceState();
    return HV_OK;
}

HVResultEnum RenderDX9::DoClear(uint32_t flags, const float colour[4], float z, int32_t stencil)
{
    DWORD d3dFlags = 0;
    if (flags & 1)
        d3dFlags |= D3DCLEAR_TARGET;
    if (flags & 2)
        d3dFlags |= D3DCLEAR_ZBUFFER;
    if (flags & 4)
        d3dFlags |= D3DCLEAR_STENCIL;
    return Check(mDevice->Clear(0, nullptr, d3dFlags, PackColour(colour), z, DWORD(stencil)));
}

HVResultEnum RenderDX9::DoBeginScene() { return Check(mDevice->BeginScene()); }

HVResultEnum RenderDX9::DoEndScene() { return Check(mDevice->EndScene()); }

HVResultEnum RenderDX9::DoPresent()
{
    const HRESULT hr = mDevice->Present(nullptr, nullptr, nullptr, nullptr);
    if (SUCCEEDED(hr))
        return HV_OK;
    HV_LOG(L"mDevice->Present failed\n");
    if (hr == D3DERR_DEVICELOST)
        HV_LOG(L"\tD3DERR_DEVICELOST\n");
    else if (hr == D3DERR_DRIVERINTERNALERROR)
        HV_LOG(L"\tD3DERR_DRIVERINTERNALERROR\n");
    else if (hr == D3DERR_INVALIDCALL)
        HV_LOG(L"\tD3DERR_INVALIDCALL\n");
    else if (hr == D3DERR_OUTOFVIDEOMEMORY)
        HV_LOG(L"\tD3DERR_OUTOFVIDEOMEMORY\n");
    else if (hr == E_OUTOFMEMORY)
        HV_LOG(L"\tE_OUTOFMEMORY\n");
    return HV_FAIL;
}

HVResultEnum RenderDX9::DoSetRenderTarget(Texture* target)
{
    IDirect3DSurface9* surface = target ? static_cast<TextureDX9*>(target)->GetSurface() : mBackBuffer;
    if (!surface)
        return HV_FAIL;
    return Check(mDevice->SetRenderTarget(0, surface));
}

HVResultEnum RenderDX9::DoSetShader(ShaderImpl* shader)
{
    auto* impl = static_cast<ShaderImplDX9*>(shader);
    if (FAILED(mDevice->SetVertexShader(impl ? impl->GetVertexShader() : nullptr)))
        return HV_FAIL;
    return Check(mDevice->SetPixelShader(impl ? impl->GetPixelShader() : nullptr));
}

HVResultEnum RenderDX9::DoSetVertexFormat(int32_t id)
{
    const VertexFormat* format = GetVertexFormat(id);
    if (!format)
        return HV_FAIL;
    return Check(mDevice->SetFVF(format->mFvf));
}

HVResultEnum RenderDX9::DoSetVertexBuffer(VertexBufferImpl* buffer)
{
    auto* dx9 = static_cast<VertexBufferImplDX9*>(buffer);
    return Check(mDevice->SetStreamSource(0, dx9 ? dx9->GetBuffer() : nullptr, 0, dx9 ? dx9->GetElementSize() : 0));
}

HVResultEnum RenderDX9::DoSetIndexBuffer(IndexBufferImpl* buffer)
{
    auto* dx9 = static_cast<IndexBufferImplDX9*>(buffer);
    return Check(mDevice->SetIndices(dx9 ? dx9->GetBuffer() : nullptr));
}

HVResultEnum RenderDX9::DoSetBlendMode(int32_t mode)
{
    struct RS
    {
        D3DRENDERSTATETYPE state;
        DWORD value;
    };
    struct TS
    {
        D3DTEXTURESTAGESTATETYPE type;
        DWORD value;
    };
    static const RS opaqueStates[] = {{D3DRS_ALPHABLENDENABLE, 0}};
    static const RS alphaStates[] = {
        {D3DRS_ALPHABLENDENABLE, 1}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA}, {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}};
    static const RS additiveStates[] = {
        {D3DRS_ALPHABLENDENABLE, 1}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA}, {D3DRS_DESTBLEND, D3DBLEND_ONE}};
    static const TS opaqueStage[] = {{D3DTSS_COLOROP, D3DTOP_SELECTARG1},
                                     {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                                     {D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
                                     {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}};
    static const TS blendStage[] = {{D3DTSS_COLOROP, D3DTOP_MODULATE},  {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                                    {D3DTSS_COLORARG2, D3DTA_DIFFUSE},  {D3DTSS_ALPHAOP, D3DTOP_MODULATE},
                                    {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},  {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE}};
    const RS* states;
    size_t stateCount;
    const TS* stage;
    size_t stageCount;
    switch (mode)
    {
    case kBlendOpaque: states = opaqueStates, stateCount = 1, stage = opaqueStage, stageCount = 4; break;
    case kBlendAlpha: states = alphaStates, stateCount = 3, stage = blendStage, stageCount = 6; break;
    case kBlendAdditive: states = additiveStates, stateCount = 3, stage = blendStage, stageCount = 6; break;
    default: return HV_OK;
    }
    for (size_t i = 0; i < stateCount; ++i)
        if (FAILED(mDevice->SetRenderState(states[i].state, states[i].value)))
            return HV_FAIL;
    for (size_t i = 0; i < stageCount; ++i)
        if (FAILED(mDevice->SetTextureStageState(0, stage[i].type, stage[i].value)))
            return HV_FAIL;
    return HV_OK;
}

HVResultEnum RenderDX9::DoSetSamplerFilter(int32_t filter)
{
    // Point sampling leaves the mip level alone as well: a texture has one level.
    const bool point = filter == kFilterPoint;
    const DWORD minFilter = point ? D3DTEXF_POINT : mAnisotropicMin ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR;
    const DWORD magFilter = point ? D3DTEXF_POINT : mAnisotropicMag ? D3DTEXF_ANISOTROPIC : D3DTEXF_LINEAR;
    const DWORD mipFilter = point ? D3DTEXF_NONE : D3DTEXF_LINEAR;
    if (FAILED(mDevice->SetSamplerState(0, D3DSAMP_MINFILTER, minFilter)) ||
        FAILED(mDevice->SetSamplerState(0, D3DSAMP_MAGFILTER, magFilter)))
        return HV_FAIL;
    return Check(mDevice->SetSamplerState(0, D3DSAMP_MIPFILTER, mipFilter));
}

HVResultEnum RenderDX9::DoEnableScissor(bool enable)
{
    if (!mScissorTest)
        return HV_OK;
    return Check(mDevice->SetRenderState(D3DRS_SCISSORTESTENABLE, enable ? 1 : 0));
}

HVResultEnum RenderDX9::DoSetScissorRect(const uint32_t rect[4])
{
    if (!mScissorTest)
        return HV_OK;
    const RECT r{LONG(rect[0]), LONG(rect[1]), LONG(rect[0] + rect[2]), LONG(rect[1] + rect[3])};
    return Check(mDevice->SetScissorRect(&r));
}

HVResultEnum RenderDX9::DoSetDepth(bool enable, bool write)
{
    if (!enable)
        return Check(mDevice->SetRenderState(D3DRS_ZENABLE, 0));
    if (FAILED(mDevice->SetRenderState(D3DRS_ZENABLE, 1)))
        return HV_FAIL;
    return Check(mDevice->SetRenderState(D3DRS_ZWRITEENABLE, write ? 1 : 0));
}

HVResultEnum RenderDX9::DoDrawPrimitive(int32_t type, uint32_t start, uint32_t count)
{
    return Check(mDevice->DrawPrimitive(MapPrimitive(type), start, count));
}

HVResultEnum RenderDX9::DoDrawIndexedPrimitive(int32_t type, uint32_t, uint32_t start, uint32_t count,
                                               uint32_t minIndex, uint32_t vertexCount)
{
    return Check(mDevice->DrawIndexedPrimitive(MapPrimitive(type), 0, minIndex, vertexCount, start, count));
}
} // namespace render
