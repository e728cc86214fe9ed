#pragma once

// Test-support interface of the Direct3D 9 stand-in: for tests and
// benchmarks only, never for the engine.
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3D9/DeviceCounters.h"

#include <chrono>
#include <functional>
#include <vector>

namespace d3d9test {

// Pixels of a render-target surface or render-target texture as packed
// ARGB, top row first. False for anything else.
bool ReadPixels(IDirect3DSurface9* surface, std::vector<uint32_t>& argb, UINT& width, UINT& height);
bool ReadPixels(IDirect3DTexture9* texture, std::vector<uint32_t>& argb, UINT& width, UINT& height);

// Called at each Present of a device that is not lost, before the swap,
// while the back buffer still holds the frame (ReadPixels of the back-buffer
// surface reads it). Empty (the default): nothing is called. A back-buffer
// surface taken inside must be released before the next Reset.
void SetPresentObserver(std::function<void(IDirect3DDevice9* device)> observer);

// Loses the device as if its window were switched away (windowed too), and
// gives the window its focus back (the device then waits for Reset).
void LoseDevice(IDirect3DDevice9* device);
void RegainFocus(IDirect3DDevice9* device);

// The next `count` calls of `method` answer `result` and do nothing.
// Names are the method names; buffer locks are "VertexBuffer::Lock" etc.
void FailNextCalls(const char* method, int count, HRESULT result);
void ClearFailures();

void OverrideCaps(IDirect3D9* d3d, const D3DCAPS9& caps);

d3d9::DeviceCounters Counters(IDirect3DDevice9* device);
void ResetCounters(IDirect3DDevice9* device);

// Stand-in objects alive in the process (both libraries).
int LiveObjectCount();

// The back buffer is drawn straight into the device's window (no copy per frame).
bool BackBufferInWindow(IDirect3DDevice9* device);

// The first GL error since the last call (0 for none); clears them all.
unsigned TakeGlError(IDirect3DDevice9* device);

// The least time between two presents that the device keeps itself, where
// the driver's swap does not wait for the display; zero when it does not wait.
std::chrono::nanoseconds PresentPeriod(IDirect3DDevice9* device);

} // namespace d3d9test
