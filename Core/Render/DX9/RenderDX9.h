#pragma once

#include "Core/Render/Render.h"
#include "Platform/D3D9/D3D9.h"

namespace render
{
// The renderer over Direct3D 9.
class RenderDX9 : public Render
{
public:
    RenderDX9();
    ~RenderDX9() override;

    HVResultEnum InitRender(app::Window* window, const RenderInitParam& param) override;
    HVResultEnum PrepareSwitchScreenMode() override;
    HVResultEnum SwitchScreenMode(const RenderInitParam& param) override;
    HVResultEnum CreateTexture(Texture** out) override;
    HVResultEnum CreateShaderImpl(const std::string& vertexSource, const std::string& pixelSource,
                                  ShaderImpl** out) override;
    HVResultEnum CreateGeomShaderImpl(ShaderImpl** out) override;
    HVResultEnum CreateTexturedMultShaderImpl(ShaderImpl** out) override;
    HVResultEnum CreateTexturedTintShaderImpl(ShaderImpl** out) override;
    HVResultEnum CreateVertexBuffer(const VertexFormat* format, uint32_t count, bool dynamic,
                                    VertexBufferImpl** out) override;
    HVResultEnum CreateIndexBuffer(uint32_t elementSize, uint32_t count, bool dynamic, IndexBufferImpl** out) override;
    bool IsDeviceReady() override;
    HVResultEnum DoClear(uint32_t flags, const float colour[4], float z, int32_t stencil) override;
    HVResultEnum DoBeginScene() override;
    HVResultEnum DoEndScene() override;
    HVResultEnum DoPresent() override;
    HVResultEnum DoSetRenderTarget(Texture* target) override;
    HVResultEnum DoSetShader(ShaderImpl* shader) override;
    HVResultEnum DoSetVertexFormat(int32_t id) override;
    HVResultEnum DoSetVertexBuffer(VertexBufferImpl* buffer) override;
    HVResultEnum DoSetIndexBuffer(IndexBufferImpl* buffer) override;
    HVResultEnum DoSetBlendMode(int32_t mode) override;
    HVResultEnum DoSetSamplerFilter(int32_t filter) override;
    HVResultEnum DoEnableScissor(bool enable) override;
    HVResultEnum DoSetScissorRect(const uint32_t rect[4]) override;
    HVResultEnum DoSetDepth(bool enable, bool write) override;
    HVResultEnum DoDrawPrimitive(int32_t type, uint32_t start, uint32_t count) override;
    HVResultEnum DoDrawIndexedPrimitive(int32_t type, uint32_t indexSize, uint32_t start, uint32_t count,
                                        uint32_t minIndex, uint32_t vertexCount) override;

    HVResultEnum InitDeviceState();
    HVResultEnum LostDevice();
    HVResultEnum ResetDevice();
    HVResultEnum FillPresentParameters();
    // The device state every frame relies on.
    HVResultEnum SetFixedDeviceState();

    // Before InitRender: the Direct3D object to use instead of a new one
    // (owned from then on), so that a test can set its capabilities.
    void UseDirect3D(IDirect3D9* d3d) { mD3D = d3d; }

    // Before InitRender: how presents are paced. The default waits for the
    // display; D3DPRESENT_INTERVAL_IMMEDIATE presents at once (benchmarks).
    void SetPresentInterval(UINT interval) { mPresentInterval = interval; }

    IDirect3DDevice9* GetDevice() const { return mDevice; }
    IDirect3D9* GetDirect3D() const { return mD3D; }
    IDirect3DSurface9* GetBackBuffer() const { return mBackBuffer; }
    const D3DPRESENT_PARAMETERS& GetPresentParameters() const { return mPresentParams; }
    bool IsDeviceLost() const { return mDeviceLost != 0; }

    IDirect3DDevice9* mDevice = nullptr;

private:
    // Viewport, opaque black clear and one present.
    HVResultEnum PrepareBackBuffer();

    app::Window* mWindow = nullptr;
    HWND mHwnd = nullptr;
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    uint8_t mWindowed = 0;
    uint8_t mMultithreaded = 1;
    IDirect3D9* mD3D = nullptr;
    IDirect3DSurface9* mBackBuffer = nullptr;
    D3DPRESENT_PARAMETERS mPresentParams{};
    UINT mPresentInterval = D3DPRESENT_INTERVAL_DEFAULT;
    D3DVIEWPORT9 mViewport{};
    uint8_t mDeviceLost = 0;
};
} // namespace render
