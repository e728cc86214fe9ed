#include "Platform/D3D9/GlBuffer.h"

#include "Platform/D3D9/FailureInjection.h"
#include "Platform/D3D9/GlDevice.h"

#include <algorithm>

namespace d3d9 {

bool ValidBufferCreation(UINT length, DWORD usage, D3DPOOL pool)
{
    if (length == 0)
        return false;
    if (pool == D3DPOOL_DEFAULT)
        return usage == (D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC);
    return pool == D3DPOOL_MANAGED && usage == D3DUSAGE_WRITEONLY;
}

BufferStore::BufferStore(GlDevice* device, UINT length, DWORD usage)
    : device_(device), length_(length), usage_(usage)
{
}

BufferStore::~BufferStore()
{
    if (buffer_)
    {
        device_->MakeCurrent();
        device_->ForgetVertexInput(buffer_);
        glDeleteBuffers(1, &buffer_);
    }
}

bool BufferStore::Allocate()
{
    device_->MakeCurrent();
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_);
    glBufferData(GL_COPY_WRITE_BUFFER, length_, nullptr,
                 (usage_ & D3DUSAGE_DYNAMIC) ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    shadow_.assign(length_, 0);
    return glGetError() == GL_NO_ERROR;
}

HRESULT BufferStore::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    if (!data || locked_)
        return D3DERR_INVALIDCALL;
    const bool discard = (flags & D3DLOCK_DISCARD) != 0;
    if (discard && !(usage_ & D3DUSAGE_DYNAMIC))
        return D3DERR_INVALIDCALL;
    if (size == 0 && offset == 0)
        size = length_;
    if (offset > length_ || size > length_ - offset)
        return D3DERR_INVALIDCALL;
    locked_ = true;
    discarded_ = discard;
    lockBegin_ = offset;
    lockEnd_ = offset + size;
    *data = shadow_.data() + offset;
    return D3D_OK;
}

HRESULT BufferStore::Unlock()
{
    if (!locked_)
        return D3DERR_INVALIDCALL;
    locked_ = false;
    if (discarded_)
    {
        // What was written before is gone: only this lock's bytes count.
        device_->MakeCurrent();
        glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_);
        glBufferData(GL_COPY_WRITE_BUFFER, length_, nullptr, GL_STREAM_DRAW);
        glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
        dirty_ = {lockBegin_, lockEnd_};
        return D3D_OK;
    }
    dirty_.Add(lockBegin_, lockEnd_);
    return D3D_OK;
}

void BufferStore::Upload(uint64_t end)
{
    if (dirty_.Empty() || dirty_.begin >= end)
        return;
    const UINT upTo = UINT(std::min<uint64_t>(end, dirty_.end));
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_);
    glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(dirty_.begin), GLsizeiptr(upTo - dirty_.begin),
                    shadow_.data() + dirty_.begin);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    device_->CountUpload(upTo - dirty_.begin);
    dirty_.begin = upTo;
}

GlVertexBuffer::GlVertexBuffer(GlDevice* device, UINT length, DWORD usage, D3DPOOL pool)
    : DeviceChild(device, pool == D3DPOOL_DEFAULT), store_(device, length, usage)
{
}

HRESULT GlVertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    HV_INJECT("VertexBuffer::Lock");
    return store_.Lock(offset, size, data, flags);
}

HRESULT GlVertexBuffer::Unlock()
{
    HV_INJECT("VertexBuffer::Unlock");
    return store_.Unlock();
}

GlIndexBuffer::GlIndexBuffer(GlDevice* device, UINT length, DWORD usage, D3DFORMAT format,
                             D3DPOOL pool)
    : DeviceChild(device, pool == D3DPOOL_DEFAULT), store_(device, length, usage), format_(format)
{
}

HRESULT GlIndexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    HV_INJECT("IndexBuffer::Lock");
    return store_.Lock(offset, size, data, flags);
}

HRESULT GlIndexBuffer::Unlock()
{
    HV_INJECT("IndexBuffer::Unlock");
    return store_.Unlock();
}

} // namespace d3d9
