#pragma once

// The IDirect3D9 object: adapter 0 is SDL's display 0; capabilities come from
// the GL implementation (or a test's override).
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3D9/GlInfo.h"
#include "Platform/D3D9/LiveObjects.h"

#include <optional>

namespace d3d9 {

class GlDirect3D final : public IDirect3D9, public LiveObject
{
public:
    GlDirect3D() = default;

    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override;
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                              DWORD usage, D3DRESOURCETYPE resourceType,
                              D3DFORMAT checkFormat) override;
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD flags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

    // Null when no GL context could be had.
    const GlInfo* Info();
    void LearnInfo(const GlInfo& info) { info_ = info; }
    void OverrideCaps(const D3DCAPS9& caps) { override_ = caps; }

private:
    ULONG refs_ = 1;
    std::optional<GlInfo> info_;
    std::optional<D3DCAPS9> override_;
};

} // namespace d3d9
