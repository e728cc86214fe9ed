#include "Platform/D3D9/TestSupport.h"

#include "Platform/D3D9/FailureInjection.h"
#include "Platform/D3D9/GlDevice.h"
#include "Platform/D3D9/GlDirect3D.h"
#include "Platform/D3D9/GlSurface.h"
#include "Platform/D3D9/LiveObjects.h"

namespace d3d9test {

namespace {
d3d9::GlDevice* Device(IDirect3DDevice9* device) { return static_cast<d3d9::GlDevice*>(device); }
} // namespace

bool ReadPixels(IDirect3DSurface9* surface, std::vector<uint32_t>& argb, UINT& width, UINT& height)
{
    auto* source = dynamic_cast<d3d9::GlSurface*>(surface);
    return source && source->OwnerDevice()->ReadPixels(surface, argb, width, height);
}

bool ReadPixels(IDirect3DTexture9* texture, std::vector<uint32_t>& argb, UINT& width, UINT& height)
{
    IDirect3DSurface9* surface = nullptr;
    if (!texture || FAILED(texture->GetSurfaceLevel(0, &surface)))
        return false;
    const bool ok = ReadPixels(surface, argb, width, height);
    surface->Release();
    return ok;
}

void SetPresentObserver(std::function<void(IDirect3DDevice9* device)> observer)
{
    d3d9::SetPresentObserver(std::move(observer));
}

void LoseDevice(IDirect3DDevice9* device) { Device(device)->LoseForTest(); }
void RegainFocus(IDirect3DDevice9* device) { Device(device)->RegainFocusForTest(); }

void FailNextCalls(const char* method, int count, HRESULT result)
{
    d3d9::FailNextCalls(method, count, result);
}

void ClearFailures() { d3d9::ClearInjectedFailures(); }

void OverrideCaps(IDirect3D9* d3d, const D3DCAPS9& caps)
{
    static_cast<d3d9::GlDirect3D*>(d3d)->OverrideCaps(caps);
}

d3d9::DeviceCounters Counters(IDirect3DDevice9* device) { return Device(device)->Counters(); }
void ResetCounters(IDirect3DDevice9* device) { Device(device)->Counters() = {}; }

int LiveObjectCount() { return d3d9::LiveObjectCount(); }

bool BackBufferInWindow(IDirect3DDevice9* device)
{
    const d3d9::BackBuffer* back = Device(device)->BackBufferSurface();
    return back && back->InWindow();
}

unsigned TakeGlError(IDirect3DDevice9* device) { return Device(device)->TakeGlError(); }

std::chrono::nanoseconds PresentPeriod(IDirect3DDevice9* device)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Device(device)->PresentPeriod());
}

} // namespace d3d9test
