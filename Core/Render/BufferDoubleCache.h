#pragma once

#include "Core/Render/Buffer.h"
#include "Core/Render/Render.h"

#include <vector>

namespace render
{
// A per-frame streaming cache: a main buffer and overflow buffers that,
// once made, stay for later frames. Device buffers lock on first use.
class BufferDoubleCacheBase
{
public:
    explicit BufferDoubleCacheBase(Render* render, uint32_t overflowCapacity)
        : mRender(render), mOverflowCapacity(overflowCapacity)
    {
    }
    BufferDoubleCacheBase(const BufferDoubleCacheBase&) = delete;
    BufferDoubleCacheBase& operator=(const BufferDoubleCacheBase&) = delete;
    virtual ~BufferDoubleCacheBase() = default;
    // Opens the cache for the frame; 1 when it is open already.
    virtual HVResultEnum Lock();
    // Unlocks whatever was locked; 1 when it was closed or an unlock failed.
    virtual HVResultEnum Unlock() = 0;

    bool IsOpen() const { return mOpen != 0; }

protected:
    Render* mRender;
    uint8_t mOpen = 0;
    uint32_t mOverflowCapacity;
};

template <class B>
class BufferDoubleCache : public BufferDoubleCacheBase
{
public:
    using Element = typename B::Element;

    BufferDoubleCache(Render* render, uint32_t overflowCapacity) : BufferDoubleCacheBase(render, overflowCapacity) {}
    ~BufferDoubleCache() override
    {
        delete mMain;
        for (B* buffer : mOverflow)
            delete buffer;
    }

    // A cache whose main buffer holds capacity elements; deleted on failure.
    static HVResultEnum Create(Render* render, uint32_t capacity, uint32_t overflowCapacity, BufferDoubleCache** out)
    {
        auto* cache = new BufferDoubleCache(render, overflowCapacity);
        const HVResultEnum result = B::Create(render, capacity, &cache->mMain);
        if (result != HV_OK)
        {
            delete cache;
            return result;
        }
        *out = cache;
        return HV_OK;
    }

    HVResultEnum Unlock() override
    {
        HVResultEnum failed = HV_OK;
        if (mMain && mMain->mImpl->IsLocked() && mMain->mImpl->Unlock() != HV_OK)
            failed = HV_FAIL;
        for (B* buffer : mOverflow)
            if (buffer->mImpl->IsLocked() && buffer->mImpl->Unlock() != HV_OK)
                failed = HV_FAIL;
        if (!mOpen)
            return HV_FAIL;
        mOpen = 0;
        return failed;
    }

    HVResultEnum Reserve(uint32_t count, Element** out, BufferRange<B>& range)
    {
        if (!mOpen)
            return HV_FAIL;
        B* target = nullptr;
        if (HasRoom(mMain, count))
            target = mMain;
        for (size_t i = 0; !target && i < mOverflow.size(); ++i)
            if (HasRoom(mOverflow[i], count))
                target = mOverflow[i];
        if (!target)
        {
            if (count > mOverflowCapacity)
                return HV_FAIL;
            B* buffer = nullptr;
            if (B::Create(mRender, mOverflowCapacity, &buffer) != HV_OK)
                return HV_FAIL;
            mOverflow.push_back(buffer);
            target = buffer;
        }
        Buffer* device = target->mImpl;
        if (!device->IsLocked() && device->Lock() != HV_OK)
            return HV_FAIL;
        range.mFirst = device->GetWritePosition();
        range.mCount = count;
        range.mBuffer = target;
        void* address = nullptr;
        uint32_t granted = 0;
        if (device->Reserve(count, &address, &granted) != HV_OK)
            return HV_FAIL;
        *out = static_cast<Element*>(address);
        return granted < count ? HV_FAIL : HV_OK;
    }

    B* GetMain() const { return mMain; }
    const std::vector<B*>& GetOverflow() const { return mOverflow; }

private:
    // An unlocked buffer starts again at 0 with its next lock.
    static bool HasRoom(B* buffer, uint32_t count)
    {
        const Buffer* device = buffer->mImpl;
        const uint32_t used = device->IsLocked() ? device->GetWritePosition() : 0;
        return device->GetCount() - used >= count;
    }

    B* mMain = nullptr;
    std::vector<B*> mOverflow;
};

class BufferDoubleCacheCreator
{
public:
    virtual ~BufferDoubleCacheCreator() = default;
    // Capacities of 0 take the format's own.
    virtual HVResultEnum Create(Render* render, uint32_t capacity, uint32_t overflowCapacity,
                                BufferDoubleCacheBase** out) = 0;
};

template <class V>
class BufferDoubleCacheCreatorConcrete : public BufferDoubleCacheCreator
{
public:
    HVResultEnum Create(Render* render, uint32_t capacity, uint32_t overflowCapacity,
                        BufferDoubleCacheBase** out) override
    {
        BufferDoubleCache<VertexBuffer<V>>* cache = nullptr;
        const HVResultEnum result = BufferDoubleCache<VertexBuffer<V>>::Create(
            render, capacity ? capacity : V::Format.mCacheCapacity,
            overflowCapacity ? overflowCapacity : V::Format.mOverflowCapacity, &cache);
        if (result == HV_OK)
            *out = cache;
        return result;
    }
};

template <class V>
HVResultEnum VertexBuffer<V>::Create(Render* render, uint32_t count, VertexBuffer** out)
{
    VertexBufferImpl* impl = nullptr;
    const HVResultEnum result = render->CreateVertexBuffer(&V::Format, count, true, &impl);
    if (result != HV_OK)
        return result;
    *out = new VertexBuffer(impl);
    return HV_OK;
}

template <class I>
HVResultEnum IndexBuffer<I>::Create(Render* render, uint32_t count, IndexBuffer** out)
{
    IndexBufferImpl* impl = nullptr;
    const HVResultEnum result = render->CreateIndexBuffer(sizeof(I), count, true, &impl);
    if (result != HV_OK)
        return result;
    *out = new IndexBuffer(impl);
    return HV_OK;
}

using IndexCache16 = BufferDoubleCache<IndexBuffer<unsigned short>>;
using IndexCache32 = BufferDoubleCache<IndexBuffer<unsigned int>>;

template <class V>
BufferDoubleCache<VertexBuffer<V>>* GetVertexCache(Render* render)
{
    return static_cast<BufferDoubleCache<VertexBuffer<V>>*>(render->GetVertexCache(V::Format.mId));
}
} // namespace render
