#pragma once

// The device: a GL 3.3 core context on the window's SDL window, Direct3D 9
// state kept as given (and read back as given), applied to GL at each draw.
#include "Platform/D3D9/BackBuffer.h"
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3D9/DeviceCounters.h"
#include "Platform/D3D9/DirtyRange.h"
#include "Platform/D3D9/GlInfo.h"
#include "Platform/D3D9/LiveObjects.h"
#include "Platform/D3D9/PresentPacer.h"
#include "Platform/D3D9/ShaderBlob.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <array>
#include <atomic>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

namespace d3d9 {

class GlDirect3D;
class GlTexture;
class GlVertexBuffer;
class GlIndexBuffer;
class GlVertexShader;
class GlPixelShader;
class GlShaderObject;

// Test seam: seen at every Present that shows a frame, before the swap.
void SetPresentObserver(std::function<void(IDirect3DDevice9*)> observer);

class GlDevice final : public IDirect3DDevice9, public LiveObject
{
public:
    static HRESULT Create(GlDirect3D* d3d, HWND hwnd, const D3DPRESENT_PARAMETERS& params,
                          IDirect3DDevice9** device);

    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override;

    HRESULT TestCooperativeLevel() override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* params) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND override,
                    const void* dirtyRegion) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT SetScissorRect(const RECT* rect) override;
    HRESULT GetScissorRect(RECT* rect) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, HANDLE* shared) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, HANDLE* shared) override;
    HRESULT CreateVertexShader(const DWORD* code, IDirect3DVertexShader9** shader) override;
    HRESULT CreatePixelShader(const DWORD* code, IDirect3DPixelShader9** shader) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override;
    HRESULT SetVertexShaderConstantF(UINT start, const float* data, UINT count) override;
    HRESULT GetVertexShaderConstantF(UINT start, float* data, UINT count) override;
    HRESULT SetPixelShaderConstantF(UINT start, const float* data, UINT count) override;
    HRESULT GetPixelShaderConstantF(UINT start, float* data, UINT count) override;
    HRESULT SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                            UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                 UINT numVertices, UINT startIndex, UINT primitiveCount) override;

    // For the objects the device makes.
    void MakeCurrent();
    void AdjustResetBlockers(int delta) { resetBlockers_ += delta; }
    void CountUpload(uint64_t bytes) { counters_.bytesUploaded += bytes; }
    // A deleted buffer's name may come back for a new one, which the
    // attributes do not point at.
    void ForgetVertexInput(GLuint buffer)
    {
        if (appliedInput_.buffer == buffer)
            appliedInput_ = {};
    }
    void CountReadBack(uint64_t bytes) { counters_.bytesReadBack += bytes; }
    UINT MaxTextureSize() const { return UINT(info_.maxTextureSize); }
    bool HasS3tc() const { return info_.s3tc; }
    const BackBuffer* BackBufferSurface() const { return backBuffer_; }
    // After a texture's own upload or read-back on unit 0.
    void Rebind2DTexture()
    {
        glBindTexture(GL_TEXTURE_2D, 0);
        boundTextures_[0] = 0;
    }
    // Deleting a texture unbinds it from every unit.
    void ForgetTexture(GLuint name)
    {
        for (GLuint& bound : boundTextures_)
            if (bound == name)
                bound = 0;
    }
    void ForgetShader(const GlShaderObject* shader);

    // For the test-support interface.
    void LoseForTest();
    void RegainFocusForTest();
    DeviceCounters& Counters() { return counters_; }
    PresentPacer::Clock::duration PresentPeriod() const { return pacer_.Period(); }
    GLenum TakeGlError();
    bool ReadPixels(IDirect3DSurface9* surface, std::vector<uint32_t>& argb, UINT& width,
                    UINT& height);

private:
    struct Program
    {
        GLuint name = 0; // 0 when linking failed
        GLint pixelOffset = -1;
    };

    GlDevice(GlDirect3D* d3d, SDL_Window* window, SDL_GLContext context);
    ~GlDevice() override;
    HRESULT Initialise(const D3DPRESENT_PARAMETERS& params);
    bool BuildBackBuffer(const D3DPRESENT_PARAMETERS& params);
    // The swap interval, or the pacer where the driver cannot wait for the display.
    void ApplyPresentationInterval();
    // The window's drawable has the back buffer's size and a D24S8 depth-stencil.
    bool WindowFitsBackBuffer();
    // The GL row of a rectangle's first row on the current target: the
    // window stores its bottom row first, every other target its top row.
    GLint GlRowOf(LONG top, LONG height) const
    {
        return target_->InWindow() ? GLint(target_->Height()) - GLint(top) - GLint(height) : GLint(top);
    }
    void RestoreDefaults();
    void ReleaseBindings();
    void ResetTargetArea();
    bool Active() const { return focused_ && !minimized_; }
    static int WatchEvents(void* device, SDL_Event* event);

    template <class Shader, class Interface>
    HRESULT CreateShader(const DWORD* code, ShaderStage stage, Interface** shader);
    HRESULT CheckDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, UINT& elementCount);
    const Program* ProgramForDraw();
    void ApplyRenderState();
    void ApplySamplers();
    // Points the attributes at the stream's vertex 0; kept while the stream,
    // its offset, stride and format stay, as re-pointing them costs the driver
    // a revalidation on every draw.
    void ApplyVertexInput();
    void UploadConstants();
    // The window is drawn with an upper-left clip origin: the vertex stage's
    // flip for targets stored top row first then puts rows the window's way
    // up, with the same rasterisation rules (which edges own their pixels).
    void ApplyClipOrigin();
    HRESULT SetConstants(int stage, UINT start, const float* data, UINT count);
    HRESULT GetConstants(int stage, UINT start, float* data, UINT count);
    DWORD RenderState(D3DRENDERSTATETYPE state) const;

    ULONG refs_ = 1;
    GlDirect3D* d3d_;
    SDL_Window* window_;
    SDL_GLContext context_;
    GlInfo info_;
    D3DPRESENT_PARAMETERS params_{};
    BackBuffer* backBuffer_ = nullptr;
    GlSurface* target_ = nullptr;
    D3DVIEWPORT9 viewport_{};
    RECT scissor_{};
    bool inScene_ = false;

    std::unordered_map<DWORD, DWORD> renderStates_;
    std::array<std::unordered_map<DWORD, DWORD>, kSamplerCount> samplerStates_;
    std::array<bool, kSamplerCount> samplerDirty_{};
    std::array<std::unordered_map<DWORD, DWORD>, 8> stageStates_;

    GlVertexShader* vertexShader_ = nullptr;
    GlPixelShader* pixelShader_ = nullptr;
    std::array<GlTexture*, kSamplerCount> textures_{};
    GlVertexBuffer* stream_ = nullptr;
    UINT streamOffset_ = 0;
    UINT streamStride_ = 0;
    struct VertexInput
    {
        GLuint buffer = 0; // 0: nothing applied yet
        UINT offset = 0;
        UINT stride = 0;
        DWORD fvf = 0;
        bool operator==(const VertexInput&) const = default;
    };
    VertexInput appliedInput_;
    GlIndexBuffer* indices_ = nullptr;
    DWORD fvf_ = 0;

    std::array<std::array<float, kConstantRegisters * 4>, 2> constants_{};
    // In floats: the registers written since the last upload.
    std::array<DirtyRange, 2> constantsDirty_{};
    std::array<GLuint, 2> constantBuffers_{};
    std::array<GLuint, kSamplerCount> samplers_{};
    // What each unit has bound, so that a draw binds only what changed.
    std::array<GLuint, kSamplerCount> boundTextures_{};
    GLuint vertexArray_ = 0;
    std::map<std::pair<const void*, const void*>, Program> programs_;

    std::atomic<bool> lost_{false};
    std::atomic<bool> focused_{true};
    std::atomic<bool> minimized_{false};
    std::atomic<bool> windowed_{true};
    Uint32 windowId_ = 0;
    // Made when the window goes before the device; destroyed with the device.
    SDL_Window* orphanWindow_ = nullptr;
    bool holdsLibrary_ = false;
    bool windowDepthChecked_ = false;
    bool upperLeftOrigin_ = false;
    bool windowDepthStencil_ = false;
    static constexpr GLint kDepthBits = 24;
    static constexpr GLint kStencilBits = 8;
    int resetBlockers_ = 0;
    DeviceCounters counters_;
    PresentPacer pacer_;
};

} // namespace d3d9
