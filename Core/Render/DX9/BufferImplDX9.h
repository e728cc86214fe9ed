#pragma once

#include "Core/Render/Buffer.h"
#include "Platform/D3D9/D3D9.h"

namespace render
{
class RenderDX9;

// What the vertex and index buffers over Direct3D 9 share: a dynamic
// buffer lives in the default pool (released with a lost device, made again
// at its reset), any other in the managed pool; a lock discards the whole buffer.
template <class Base, class D3DBuffer>
class BufferImplDX9 : public Base
{
public:
    explicit BufferImplDX9(RenderDX9* render) : Base(render), mRenderDX9(render) {}
    ~BufferImplDX9() override { ReleaseBuffer(); }

    HVResultEnum Lock() override
    {
        if (!mBuffer || this->mLocked)
            return HV_FAIL;
        void* data = nullptr;
        if (FAILED(mBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD)))
            return HV_FAIL;
        this->MarkLocked(data);
        return HV_OK;
    }

    HVResultEnum Unlock() override
    {
        if (!mBuffer || !this->mLocked)
            return HV_FAIL;
        const HRESULT hr = mBuffer->Unlock();
        this->ForgetLock();
        return FAILED(hr) ? HV_FAIL : HV_OK;
    }

    HVResultEnum OnLostDevice() override
    {
        if (!mDynamic)
            return HV_OK;
        this->ForgetLock();
        ReleaseBuffer();
        return HV_OK;
    }

    HVResultEnum OnResetDevice() override
    {
        if (!mDynamic || mBuffer)
            return HV_OK;
        return CreateDevice();
    }

    bool IsNotUsable() const override { return !mBuffer || !this->mLocked; }

    D3DBuffer* GetBuffer() const { return mBuffer; }

protected:
    // Makes mBuffer for the current element size, count and pool.
    virtual HVResultEnum CreateDevice() = 0;

    DWORD Usage() const { return D3DUSAGE_WRITEONLY | (mDynamic ? D3DUSAGE_DYNAMIC : 0); }
    D3DPOOL Pool() const { return mDynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED; }

    void ReleaseBuffer()
    {
        if (mBuffer)
            mBuffer->Release();
        mBuffer = nullptr;
    }

    RenderDX9* mRenderDX9;
    D3DBuffer* mBuffer = nullptr;
    uint8_t mDynamic = 0;
};
} // namespace render
