#include "Platform/D3D9/GlDirect3D.h"

#include "Platform/D3D9/FailureInjection.h"
#include "Platform/D3D9/GlDevice.h"

#include <SDL.h>

IDirect3D9* Direct3DCreate9(UINT sdkVersion)
{
    if (sdkVersion != D3D_SDK_VERSION)
        return nullptr;
    return new d3d9::GlDirect3D();
}

namespace d3d9 {

ULONG GlDirect3D::Release()
{
    if (--refs_ > 0)
        return refs_;
    delete this;
    return 0;
}

HRESULT GlDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode)
{
    HV_INJECT("GetAdapterDisplayMode");
    SDL_DisplayMode desktop;
    if (adapter != 0 || !mode || SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return D3DERR_INVALIDCALL;
    mode->Width = UINT(desktop.w);
    mode->Height = UINT(desktop.h);
    mode->RefreshRate = UINT(desktop.refresh_rate);
    mode->Format = D3DFMT_X8R8G8B8;
    return D3D_OK;
}

const GlInfo* GlDirect3D::Info()
{
    if (info_)
        return &*info_;
    // No device yet: ask a hidden window's context.
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return nullptr;
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SetContextAttributes();
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
        return nullptr;
    if (SDL_GLContext context = SDL_GL_CreateContext(window))
    {
        info_ = QueryGlInfo();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    if (previous)
        SDL_GL_MakeCurrent(previousWindow, previous);
    return info_ ? &*info_ : nullptr;
}

HRESULT GlDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE, D3DFORMAT, DWORD usage,
                                      D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat)
{
    HV_INJECT("CheckDeviceFormat");
    if (adapter != 0)
        return D3DERR_INVALIDCALL;
    const GlInfo* info = Info();
    if (!info)
        return D3DERR_NOTAVAILABLE;
    if (resourceType != D3DRTYPE_TEXTURE)
        return D3DERR_NOTAVAILABLE;
    switch (checkFormat)
    {
    case D3DFMT_A8R8G8B8:
        return D3D_OK;
    case D3DFMT_DXT1:
    case D3DFMT_DXT3:
    case D3DFMT_DXT5:
        return info->s3tc && usage == 0 ? D3D_OK : D3DERR_NOTAVAILABLE;
    default:
        return D3DERR_NOTAVAILABLE;
    }
}

HRESULT GlDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps)
{
    HV_INJECT("GetDeviceCaps");
    if (adapter != 0 || !caps)
        return D3DERR_INVALIDCALL;
    if (override_)
    {
        *caps = *override_;
        return D3D_OK;
    }
    const GlInfo* info = Info();
    if (!info)
        return D3DERR_NOTAVAILABLE;
    *caps = D3DCAPS9{};
    caps->DeviceType = type;
    caps->AdapterOrdinal = adapter;
    caps->RasterCaps = D3DPRASTERCAPS_SCISSORTEST;
    caps->TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                              D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR |
                              D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR;
    if (info->anisotropic)
        caps->TextureFilterCaps |= D3DPTFILTERCAPS_MINFANISOTROPIC | D3DPTFILTERCAPS_MAGFANISOTROPIC;
    caps->MaxTextureWidth = DWORD(info->maxTextureSize);
    caps->MaxTextureHeight = DWORD(info->maxTextureSize);
    caps->MaxAnisotropy = DWORD(info->maxAnisotropy);
    caps->MaxTextureBlendStages = 8;
    caps->MaxSimultaneousTextures = 8;
    caps->MaxPrimitiveCount = 0xFFFFFF;
    caps->MaxVertexIndex = 0xFFFFFF;
    caps->MaxStreams = 1;
    caps->VertexShaderVersion = D3DVS_VERSION(2, 0);
    caps->MaxVertexShaderConst = 256;
    caps->PixelShaderVersion = D3DPS_VERSION(2, 0);
    return D3D_OK;
}

HRESULT GlDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE, HWND focusWindow, DWORD,
                                 D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device)
{
    HV_INJECT("CreateDevice");
    if (adapter != 0 || !params || !device)
        return D3DERR_INVALIDCALL;
    *device = nullptr;
    HWND hwnd = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
    if (!hwnd || !hwnd->sdlWindow)
        return D3DERR_INVALIDCALL;
    return GlDevice::Create(this, hwnd, *params, device);
}

} // namespace d3d9
