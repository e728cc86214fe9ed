#pragma once

#include "Core/Base/Result.h"

#include <cstdint>

namespace render
{
class Render;
class VertexFormat;

// A device buffer: elements are handed out from a locked block, front to back.
class Buffer
{
public:
    explicit Buffer(Render* render);
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    virtual ~Buffer();
    virtual HVResultEnum Lock() = 0;
    virtual HVResultEnum Unlock() = 0;
    virtual HVResultEnum OnResetDevice() = 0;
    virtual HVResultEnum OnLostDevice() = 0;
    virtual bool IsNotUsable() const { return !mLocked; }

    // Takes up to count elements; granted is what fitted (0 with a null
    // address once the buffer is full). 1 when the buffer is not usable.
    HVResultEnum Reserve(uint32_t count, void** address, uint32_t* granted);

    uint32_t GetElementSize() const { return mElementSize; }
    uint32_t GetCount() const { return mCount; }
    bool IsLocked() const { return mLocked != 0; }
    uint32_t GetWritePosition() const { return mWritePosition; }

protected:
    void MarkLocked(void* address)
    {
        mLocked = 1;
        mAddress = static_cast<unsigned char*>(address);
        mWritePosition = 0;
    }
    // Also for a buffer released while locked: nothing may be written
    // through its old address.
    void ForgetLock()
    {
        mLocked = 0;
        mAddress = nullptr;
        mWritePosition = 0;
    }

    Render* mRender;
    uint32_t mElementSize = 0;
    uint32_t mCount = 0;
    uint8_t mLocked = 0;
    unsigned char* mAddress = nullptr;
    uint32_t mWritePosition = 0;
};

class VertexBufferImpl : public Buffer
{
public:
    using Buffer::Buffer;
    virtual HVResultEnum Create(const VertexFormat* format, uint32_t count, bool dynamic) = 0;
    int32_t GetFormatId() const { return mFormatId; }

protected:
    int32_t mFormatId = -1;
};

class IndexBufferImpl : public Buffer
{
public:
    using Buffer::Buffer;
    virtual HVResultEnum Create(uint32_t elementSize, uint32_t count, bool dynamic) = 0;
};

// Typed owners of one device buffer.
template <class V>
class VertexBuffer
{
public:
    using Element = V;
    using Impl = VertexBufferImpl;
    explicit VertexBuffer(VertexBufferImpl* impl) : mImpl(impl) {}
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;
    ~VertexBuffer() { delete mImpl; }
    // A dynamic buffer of count vertices.
    static HVResultEnum Create(Render* render, uint32_t count, VertexBuffer** out);
    VertexBufferImpl* mImpl;
};

template <class I>
class IndexBuffer
{
public:
    using Element = I;
    using Impl = IndexBufferImpl;
    explicit IndexBuffer(IndexBufferImpl* impl) : mImpl(impl) {}
    IndexBuffer(const IndexBuffer&) = delete;
    IndexBuffer& operator=(const IndexBuffer&) = delete;
    ~IndexBuffer() { delete mImpl; }
    static HVResultEnum Create(Render* render, uint32_t count, IndexBuffer** out);
    IndexBufferImpl* mImpl;
};

// What a reservation gives the caller's draw.
template <class B>
struct BufferRange
{
    uint32_t mFirst = 0;
    uint32_t mCount = 0;
    B* mBuffer = nullptr;
};
} // namespace render
