#include "Platform/D3D9/GlDevice.h"

#include "Platform/D3D9/FailureInjection.h"
#include "Platform/D3D9/GlBuffer.h"
#include "Platform/D3D9/GlDirect3D.h"
#include "Platform/D3D9/GlShader.h"
#include "Platform/D3D9/GlTexture.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace d3d9 {

namespace {

// The GL driver allocates and frees megabytes of scratch memory every frame.
// glibc would hand the top of its heap back to the system after each free and
// serve big blocks with fresh mappings, so every frame paid again for the page
// faults of taking it back (about a fifth of a frame of sprites on a software
// rasteriser). Kept at these limits, the memory is reused from frame to frame.
// (32 MiB is the largest mapping threshold glibc accepts on 64-bit systems.)
constexpr int kHeapTrimThreshold = 256 << 20;
constexpr int kHeapMmapThreshold = 32 << 20;

void KeepHeapAcrossFrames()
{
    static const bool applied = [] {
        mallopt(M_TRIM_THRESHOLD, kHeapTrimThreshold);
        mallopt(M_MMAP_THRESHOLD, kHeapMmapThreshold);
        return true;
    }();
    (void)applied;
}

// Set (to anything but "0"), presents never wait for the display: for test
// runs and the play-through, whose time should not grow with the frame count.
constexpr const char* kUnpacedSwitch = "HV_PRESENT_UNPACED";

bool UnpacedBySwitch()
{
    const char* value = std::getenv(kUnpacedSwitch);
    return value && *value && std::strcmp(value, "0") != 0;
}

// These accept a swap interval and still return from the swap at once.
bool SoftwareRasteriser(const std::string& renderer)
{
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (renderer.find(name) != std::string::npos)
            return true;
    return false;
}

std::function<void(IDirect3DDevice9*)>& PresentObserver()
{
    static std::function<void(IDirect3DDevice9*)> observer;
    return observer;
}

} // namespace

void SetPresentObserver(std::function<void(IDirect3DDevice9*)> observer) { PresentObserver() = std::move(observer); }

HRESULT GlDevice::Create(GlDirect3D* d3d, HWND hwnd, const D3DPRESENT_PARAMETERS& params,
                         IDirect3DDevice9** device)
{
    KeepHeapAcrossFrames();
    SDL_Window* window = hwnd->sdlWindow;
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SetContextAttributes();
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
        return D3DERR_NOTAVAILABLE;
    int major = 0, minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    if (major * 10 + minor < 33)
    {
        SDL_GL_DeleteContext(context);
        if (previous)
            SDL_GL_MakeCurrent(previousWindow, previous);
        return D3DERR_NOTAVAILABLE;
    }
    auto* created = new GlDevice(d3d, window, context);
    const HRESULT hr = created->Initialise(params);
    if (FAILED(hr))
    {
        created->Release();
        return hr;
    }
    *device = created;
    return D3D_OK;
}

GlDevice::GlDevice(GlDirect3D* d3d, SDL_Window* window, SDL_GLContext context)
    : d3d_(d3d), window_(window), context_(context), info_(QueryGlInfo())
{
    d3d_->AddRef();
    d3d_->LearnInfo(info_);
    windowId_ = SDL_GetWindowID(window_);
    minimized_ = (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
    SDL_AddEventWatch(&GlDevice::WatchEvents, this);
    // SDL unloads the GL library with its last GL window, which ends every
    // context; the device's own use keeps its context alive until it goes.
    holdsLibrary_ = SDL_GL_LoadLibrary(nullptr) == 0;
}

HRESULT GlDevice::Initialise(const D3DPRESENT_PARAMETERS& params)
{
    glGenVertexArrays(1, &vertexArray_);
    glBindVertexArray(vertexArray_);
    glGenBuffers(2, constantBuffers_.data());
    for (GLuint stage = 0; stage < 2; ++stage)
    {
        glBindBuffer(GL_UNIFORM_BUFFER, constantBuffers_[stage]);
        glBufferData(GL_UNIFORM_BUFFER, sizeof(constants_[stage]), nullptr, GL_DYNAMIC_DRAW);
        glBindBufferBase(GL_UNIFORM_BUFFER, stage, constantBuffers_[stage]);
    }
    glGenSamplers(GLsizei(samplers_.size()), samplers_.data());
    for (GLuint unit = 0; unit < kSamplerCount; ++unit)
        glBindSampler(unit, samplers_[unit]);
    backBuffer_ = new BackBuffer(this);
    backBuffer_->Grab();
    if (!BuildBackBuffer(params))
        return D3DERR_NOTAVAILABLE;
    RestoreDefaults();
    return glGetError() == GL_NO_ERROR ? D3D_OK : D3DERR_NOTAVAILABLE;
}

bool GlDevice::BuildBackBuffer(const D3DPRESENT_PARAMETERS& params)
{
    params_ = params;
    if (params_.BackBufferWidth == 0 || params_.BackBufferHeight == 0)
    {
        int w = 0, h = 0;
        SDL_GetWindowSize(window_, &w, &h);
        params_.BackBufferWidth = params_.BackBufferWidth ? params_.BackBufferWidth : UINT(w);
        params_.BackBufferHeight = params_.BackBufferHeight ? params_.BackBufferHeight : UINT(h);
    }
    const UINT maxSize = MaxTextureSize();
    if (params_.BackBufferWidth == 0 || params_.BackBufferHeight == 0 ||
        params_.BackBufferWidth > maxSize || params_.BackBufferHeight > maxSize)
        return false;
    if (params_.BackBufferFormat == D3DFMT_UNKNOWN)
        params_.BackBufferFormat = D3DFMT_X8R8G8B8;
    windowed_ = params_.Windowed != 0;
    MakeCurrent();
    ApplyPresentationInterval();
    return backBuffer_->Build(params_.BackBufferWidth, params_.BackBufferHeight, WindowFitsBackBuffer());
}

void GlDevice::ApplyPresentationInterval()
{
    pacer_.SetPeriod({});
    if (params_.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE || UnpacedBySwitch())
    {
        SDL_GL_SetSwapInterval(0);
        return;
    }
    // Adaptive where offered: a late frame shows at once instead of a period later.
    if (!SoftwareRasteriser(info_.renderer) &&
        (SDL_GL_SetSwapInterval(-1) == 0 || SDL_GL_SetSwapInterval(1) == 0))
        return;
    SDL_GL_SetSwapInterval(0);
    SDL_DisplayMode mode{};
    const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : -1;
    const int hertz = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
    pacer_.SetPeriod(RefreshPeriod(hertz));
}

void GlDevice::ApplyClipOrigin()
{
    const bool upperLeft = target_->InWindow();
    if (upperLeft == upperLeftOrigin_)
        return;
    upperLeftOrigin_ = upperLeft;
    glClipControl(upperLeft ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
}

bool GlDevice::WindowFitsBackBuffer()
{
    if (orphanWindow_ || !window_ || !info_.clipControl)
        return false;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    if (UINT(w) != params_.BackBufferWidth || UINT(h) != params_.BackBufferHeight)
        return false;
    if (!params_.EnableAutoDepthStencil)
        return true;
    if (!windowDepthChecked_)
    {
        // The window's depth-stencil must be Direct3D's D24S8.
        windowDepthChecked_ = true;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        GLint depthType = GL_NONE, stencilType = GL_NONE, depthBits = 0, stencilBits = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE,
                                              &depthType);
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE,
                                              &stencilType);
        if (depthType != GL_NONE && stencilType != GL_NONE)
        {
            glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE,
                                                  &depthBits);
            glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_STENCIL,
                                                  GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE, &stencilBits);
        }
        windowDepthStencil_ = depthBits >= kDepthBits && stencilBits >= kStencilBits;
    }
    return windowDepthStencil_;
}

GlDevice::~GlDevice()
{
    SDL_DelEventWatch(&GlDevice::WatchEvents, this);
    MakeCurrent();
    ReleaseBindings();
    if (backBuffer_)
        backBuffer_->Drop();
    for (auto& entry : programs_)
        if (entry.second.name)
            glDeleteProgram(entry.second.name);
    glDeleteSamplers(GLsizei(samplers_.size()), samplers_.data());
    glDeleteBuffers(2, constantBuffers_.data());
    glDeleteVertexArrays(1, &vertexArray_);
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
    if (orphanWindow_)
        SDL_DestroyWindow(orphanWindow_);
    if (holdsLibrary_)
        SDL_GL_UnloadLibrary();
    d3d_->Release();
}

ULONG GlDevice::Release()
{
    if (--refs_ > 0)
        return refs_;
    delete this;
    return 0;
}

void GlDevice::MakeCurrent()
{
    if (SDL_GL_GetCurrentContext() == context_)
        return;
    if (SDL_GetWindowFromID(windowId_) != window_)
    {
        // The window was destroyed before the device (a closed program releases
        // its device afterwards): the context lives on, current on a hidden
        // window of its own, so that the releases still reach it.
        orphanWindow_ = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        window_ = orphanWindow_;
        windowId_ = window_ ? SDL_GetWindowID(window_) : 0;
    }
    SDL_GL_MakeCurrent(window_, context_);
}

void GlDevice::ReleaseBindings()
{
    Rebind<GlSurface>(target_, nullptr);
    Rebind<GlVertexShader>(vertexShader_, nullptr);
    Rebind<GlPixelShader>(pixelShader_, nullptr);
    for (auto& texture : textures_)
        Rebind<GlTexture>(texture, nullptr);
    Rebind<GlVertexBuffer>(stream_, nullptr);
    Rebind<GlIndexBuffer>(indices_, nullptr);
}

void GlDevice::RestoreDefaults()
{
    ReleaseBindings();
    renderStates_ = {
        {D3DRS_ZENABLE, params_.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE},
        {D3DRS_ZWRITEENABLE, TRUE},
        {D3DRS_SRCBLEND, D3DBLEND_ONE},
        {D3DRS_DESTBLEND, D3DBLEND_ZERO},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_ALPHABLENDENABLE, FALSE},
        {D3DRS_LIGHTING, TRUE},
        {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
        {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
        {D3DRS_SCISSORTESTENABLE, FALSE},
        {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
        {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE},
        {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO},
    };
    for (auto& sampler : samplerStates_)
        sampler = {
            {D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP},
            {D3DSAMP_MAGFILTER, D3DTEXF_POINT},   {D3DSAMP_MINFILTER, D3DTEXF_POINT},
            {D3DSAMP_MIPFILTER, D3DTEXF_NONE},    {D3DSAMP_MAXANISOTROPY, 1},
        };
    samplerDirty_.fill(true);
    for (size_t stage = 0; stage < stageStates_.size(); ++stage)
        stageStates_[stage] = {
            {D3DTSS_COLOROP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE},
            {D3DTSS_COLORARG1, D3DTA_TEXTURE},
            {D3DTSS_COLORARG2, D3DTA_CURRENT},
            {D3DTSS_ALPHAOP, stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE},
            {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
            {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
        };
    fvf_ = 0;
    streamOffset_ = streamStride_ = 0;
    for (auto& store : constants_)
        store.fill(0.0f);
    for (auto& dirty : constantsDirty_)
        dirty = {0, kConstantRegisters * 4};
    inScene_ = false;
    Rebind<GlSurface>(target_, backBuffer_);
    ResetTargetArea();
}

void GlDevice::ResetTargetArea()
{
    viewport_ = {0, 0, target_->Width(), target_->Height(), 0.0f, 1.0f};
    scissor_ = {0, 0, LONG(target_->Width()), LONG(target_->Height())};
}

// ---- device loss ------------------------------------------------------------------

int GlDevice::WatchEvents(void* userData, SDL_Event* event)
{
    auto* device = static_cast<GlDevice*>(userData);
    if (event->type != SDL_WINDOWEVENT || event->window.windowID != device->windowId_)
        return 0;
    switch (event->window.event)
    {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        device->focused_ = false;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        device->minimized_ = true;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        device->focused_ = true;
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        device->minimized_ = false;
        break;
    default:
        return 0;
    }
    // Only a full-screen device loses itself when switched away.
    if (!device->windowed_ && !device->Active())
        device->lost_ = true;
    return 0;
}

void GlDevice::LoseForTest()
{
    focused_ = false;
    lost_ = true;
}

void GlDevice::RegainFocusForTest()
{
    focused_ = true;
    minimized_ = false;
}

HRESULT GlDevice::TestCooperativeLevel()
{
    HV_INJECT("TestCooperativeLevel");
    if (!lost_)
        return D3D_OK;
    return Active() ? D3DERR_DEVICENOTRESET : D3DERR_DEVICELOST;
}

HRESULT GlDevice::GetDeviceCaps(D3DCAPS9* caps)
{
    HV_INJECT("Device::GetDeviceCaps");
    return d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, caps);
}

HRESULT GlDevice::Reset(D3DPRESENT_PARAMETERS* params)
{
    HV_INJECT("Reset");
    if (!params)
        return D3DERR_INVALIDCALL;
    if (lost_ && !Active())
        return D3DERR_DEVICELOST;
    // As in Direct3D 9: every default-pool object and back-buffer reference
    // must be gone; a refused reset leaves the device waiting for a reset.
    if (resetBlockers_ > 0)
    {
        lost_ = true;
        return D3DERR_INVALIDCALL;
    }
    MakeCurrent();
    ReleaseBindings();
    for (auto& entry : programs_)
        if (entry.second.name)
            glDeleteProgram(entry.second.name);
    programs_.clear();
    if (!BuildBackBuffer(*params))
    {
        lost_ = true;
        return D3DERR_INVALIDCALL;
    }
    params->BackBufferWidth = params_.BackBufferWidth;
    params->BackBufferHeight = params_.BackBufferHeight;
    RestoreDefaults();
    lost_ = false;
    return D3D_OK;
}

// ---- frame ------------------------------------------------------------------------

HRESULT GlDevice::BeginScene()
{
    HV_INJECT("BeginScene");
    if (inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT GlDevice::EndScene()
{
    HV_INJECT("EndScene");
    if (!inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HRESULT GlDevice::Present(const RECT*, const RECT*, HWND, const void*)
{
    HV_INJECT("Present");
    if (lost_)
        return D3DERR_DEVICELOST;
    MakeCurrent();
    if (PresentObserver())
    {
        PresentObserver()(this);
        MakeCurrent();
    }
    if (!backBuffer_->InWindow())
    {
        int drawableWidth = 0, drawableHeight = 0;
        SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
        const GLint w = GLint(backBuffer_->Width()), h = GLint(backBuffer_->Height());
        glDisable(GL_SCISSOR_TEST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer_->Framebuffer());
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        // The back buffer is stored top row first; the window's drawable is not.
        const bool sameSize = drawableWidth == w && drawableHeight == h;
        glBlitFramebuffer(0, 0, w, h, 0, drawableHeight, drawableWidth, 0, GL_COLOR_BUFFER_BIT,
                          sameSize ? GL_NEAREST : GL_LINEAR);
    }
    pacer_.Wait();
    SDL_GL_SwapWindow(window_);
    // A resized window takes the next frame offscreen, stretched; back at the
    // back buffer's size it is drawn into directly again. A back buffer that
    // cannot be made is a lost device: the reset makes it anew.
    if (!backBuffer_->PlaceInWindow(WindowFitsBackBuffer()))
        lost_ = true;
    glBindFramebuffer(GL_FRAMEBUFFER, target_->Framebuffer());
    ++counters_.presents;
    return D3D_OK;
}

HRESULT GlDevice::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                        DWORD stencil)
{
    HV_INJECT("Clear");
    if (count != 0 || rects || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)))
        return D3DERR_INVALIDCALL;
    if (lost_)
        return D3D_OK;
    MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, target_->Framebuffer());
    // The clear covers the viewport, cut to the scissor rectangle when on.
    LONG left = LONG(viewport_.X), top = LONG(viewport_.Y);
    LONG right = left + LONG(viewport_.Width), bottom = top + LONG(viewport_.Height);
    if (RenderState(D3DRS_SCISSORTESTENABLE))
    {
        left = std::max(left, scissor_.left);
        top = std::max(top, scissor_.top);
        right = std::min(right, scissor_.right);
        bottom = std::min(bottom, scissor_.bottom);
    }
    if (right <= left || bottom <= top)
        return D3D_OK;
    glEnable(GL_SCISSOR_TEST);
    glScissor(left, GlRowOf(top, bottom - top), right - left, bottom - top);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET)
    {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                     float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER)
    {
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL)
    {
        glStencilMask(0xFFFFFFFFu);
        glClearStencil(GLint(stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
    return D3D_OK;
}

// ---- targets ----------------------------------------------------------------------

HRESULT GlDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* surface)
{
    HV_INJECT("SetRenderTarget");
    ++counters_.stateCalls;
    auto* target = dynamic_cast<GlSurface*>(surface);
    if (index != 0 || !target || target->OwnerDevice() != this || !target->Drawable())
        return D3DERR_INVALIDCALL;
    Rebind<GlSurface>(target_, target);
    ResetTargetArea();
    return D3D_OK;
}

HRESULT GlDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** surface)
{
    HV_INJECT("GetRenderTarget");
    if (index != 0 || !surface)
        return D3DERR_INVALIDCALL;
    *surface = target_;
    target_->AddRef();
    return D3D_OK;
}

HRESULT GlDevice::SetViewport(const D3DVIEWPORT9* viewport)
{
    HV_INJECT("SetViewport");
    ++counters_.stateCalls;
    if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
        uint64_t(viewport->X) + viewport->Width > target_->Width() ||
        uint64_t(viewport->Y) + viewport->Height > target_->Height())
        return D3DERR_INVALIDCALL;
    viewport_ = *viewport;
    return D3D_OK;
}

HRESULT GlDevice::GetViewport(D3DVIEWPORT9* viewport)
{
    if (!viewport)
        return D3DERR_INVALIDCALL;
    *viewport = viewport_;
    return D3D_OK;
}

HRESULT GlDevice::SetScissorRect(const RECT* rect)
{
    HV_INJECT("SetScissorRect");
    ++counters_.stateCalls;
    if (!rect)
        return D3DERR_INVALIDCALL;
    // Kept to the part inside the target, never refused for reaching past it.
    const LONG w = LONG(target_->Width()), h = LONG(target_->Height());
    scissor_.left = std::clamp(rect->left, 0, w);
    scissor_.top = std::clamp(rect->top, 0, h);
    scissor_.right = std::clamp(rect->right, scissor_.left, w);
    scissor_.bottom = std::clamp(rect->bottom, scissor_.top, h);
    return D3D_OK;
}

HRESULT GlDevice::GetScissorRect(RECT* rect)
{
    if (!rect)
        return D3DERR_INVALIDCALL;
    *rect = scissor_;
    return D3D_OK;
}

// ---- states -----------------------------------------------------------------------

DWORD GlDevice::RenderState(D3DRENDERSTATETYPE state) const
{
    auto it = renderStates_.find(state);
    return it == renderStates_.end() ? 0 : it->second;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    HV_INJECT("SetRenderState");
    ++counters_.stateCalls;
    renderStates_[state] = value;
    return D3D_OK;
}

HRESULT GlDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    if (!value)
        return D3DERR_INVALIDCALL;
    *value = RenderState(state);
    return D3D_OK;
}

HRESULT GlDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value)
{
    HV_INJECT("SetSamplerState");
    ++counters_.stateCalls;
    if (sampler >= kSamplerCount)
        return D3DERR_INVALIDCALL;
    samplerStates_[sampler][type] = value;
    samplerDirty_[sampler] = true;
    return D3D_OK;
}

HRESULT GlDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value)
{
    if (sampler >= kSamplerCount || !value)
        return D3DERR_INVALIDCALL;
    auto it = samplerStates_[sampler].find(type);
    *value = it == samplerStates_[sampler].end() ? 0 : it->second;
    return D3D_OK;
}

// With shaders bound the stage states have no effect, here as in Direct3D 9.
HRESULT GlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    HV_INJECT("SetTextureStageState");
    ++counters_.stateCalls;
    if (stage >= stageStates_.size())
        return D3DERR_INVALIDCALL;
    stageStates_[stage][type] = value;
    return D3D_OK;
}

HRESULT GlDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value)
{
    if (stage >= stageStates_.size() || !value)
        return D3DERR_INVALIDCALL;
    auto it = stageStates_[stage].find(type);
    *value = it == stageStates_[stage].end() ? 0 : it->second;
    return D3D_OK;
}

// ---- resources --------------------------------------------------------------------

HRESULT GlDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                HANDLE* shared)
{
    HV_INJECT("CreateTexture");
    if (!texture || shared)
        return D3DERR_INVALIDCALL;
    *texture = nullptr;
    HRESULT result = D3D_OK;
    *texture = GlTexture::Create(this, width, height, levels, usage, format, pool, result);
    return result;
}

HRESULT GlDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD, D3DPOOL pool,
                                     IDirect3DVertexBuffer9** buffer, HANDLE* shared)
{
    HV_INJECT("CreateVertexBuffer");
    if (!buffer || shared || !ValidBufferCreation(length, usage, pool))
        return D3DERR_INVALIDCALL;
    auto* created = new GlVertexBuffer(this, length, usage, pool);
    if (!created->Store().Allocate())
    {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

HRESULT GlDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DIndexBuffer9** buffer, HANDLE* shared)
{
    HV_INJECT("CreateIndexBuffer");
    if (!buffer || shared || !ValidBufferCreation(length, usage, pool) ||
        (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    auto* created = new GlIndexBuffer(this, length, usage, format, pool);
    if (!created->Store().Allocate())
    {
        created->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *buffer = created;
    return D3D_OK;
}

// ---- test support -----------------------------------------------------------------

GLenum GlDevice::TakeGlError()
{
    MakeCurrent();
    GLenum first = glGetError();
    while (glGetError() != GL_NO_ERROR)
    {
    }
    return first;
}

bool GlDevice::ReadPixels(IDirect3DSurface9* surface, std::vector<uint32_t>& argb, UINT& width,
                          UINT& height)
{
    auto* source = dynamic_cast<GlSurface*>(surface);
    if (!source || source->OwnerDevice() != this || !source->Drawable())
        return false;
    MakeCurrent();
    width = source->Width();
    height = source->Height();
    argb.assign(size_t(width) * height, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source->Framebuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // Rows come back in storage order: top row first, but for the window.
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_BGRA, GL_UNSIGNED_BYTE, argb.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target_->Framebuffer());
    if (source->InWindow())
        for (UINT row = 0; row < height / 2; ++row)
            std::swap_ranges(argb.begin() + ptrdiff_t(row) * width, argb.begin() + ptrdiff_t(row + 1) * width,
                             argb.begin() + ptrdiff_t(height - 1 - row) * width);
    if (!source->HasAlpha())
        for (auto& pixel : argb)
            pixel |= 0xFF000000u;
    return true;
}

} // namespace d3d9
