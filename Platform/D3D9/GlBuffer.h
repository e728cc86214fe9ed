#pragma once

// Vertex and index buffers: a GL buffer with a CPU shadow handed out by
// Lock. Unlock orphans the old storage after DISCARD; the locked bytes go up
// when a draw first reads them, so that a buffer locked whole and written in
// part uploads only the part its draws use.
#include "Platform/D3D9/DeviceChild.h"
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3D9/DirtyRange.h"

#include <epoxy/gl.h>

#include <vector>

namespace d3d9 {

class BufferStore
{
public:
    BufferStore(GlDevice* device, UINT length, DWORD usage);
    ~BufferStore();
    BufferStore(const BufferStore&) = delete;
    BufferStore& operator=(const BufferStore&) = delete;

    bool Allocate();
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock();
    // Before a draw that reads the buffer's first `end` bytes.
    void Upload(uint64_t end);
    GLuint Name() const { return buffer_; }
    UINT Length() const { return length_; }
    bool Locked() const { return locked_; }

private:
    GlDevice* device_;
    UINT length_;
    DWORD usage_;
    GLuint buffer_ = 0;
    std::vector<uint8_t> shadow_;
    bool locked_ = false;
    bool discarded_ = false;
    UINT lockBegin_ = 0;
    UINT lockEnd_ = 0;
    // Written through locks, not uploaded yet.
    DirtyRange dirty_;
};

// Usage and pool combinations the engine makes; anything else is refused.
bool ValidBufferCreation(UINT length, DWORD usage, D3DPOOL pool);

class GlVertexBuffer final : public IDirect3DVertexBuffer9, public DeviceChild
{
public:
    GlVertexBuffer(GlDevice* device, UINT length, DWORD usage, D3DPOOL pool);
    ~GlVertexBuffer() override = default;

    ULONG AddRef() override { return AddRefExternal(); }
    ULONG Release() override { return ReleaseExternal(); }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;

    BufferStore& Store() { return store_; }

private:
    BufferStore store_;
};

class GlIndexBuffer final : public IDirect3DIndexBuffer9, public DeviceChild
{
public:
    GlIndexBuffer(GlDevice* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    ~GlIndexBuffer() override = default;

    ULONG AddRef() override { return AddRefExternal(); }
    ULONG Release() override { return ReleaseExternal(); }
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;

    BufferStore& Store() { return store_; }
    UINT IndexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }

private:
    BufferStore store_;
    D3DFORMAT format_;
};

} // namespace d3d9
