#include "Core/Render/DX9/IndexBufferImplDX9.h"

#include "Core/Render/DX9/DeviceBufferLock.h"
#include "Core/Render/DX9/RenderDX9.h"

namespace render
{
IndexBufferImplDX9::IndexBufferImplDX9(RenderDX9* render) : IndexBufferImpl(render), mRenderDX9(render) {}

IndexBufferImplDX9::~IndexBufferImplDX9() { ReleaseBuffer(mBuffer); }

HVResultEnum IndexBufferImplDX9::Create(uint32_t elementSize, uint32_t count, bool dynamic)
{
    if (mBuffer)
        return HV_FAIL;
    mDynamic = dynamic;
    mCount = count;
    mElementSize = elementSize;
    return CreateDevice();
}

HVResultEnum IndexBufferImplDX9::CreateDevice()
{
    const DWORD usage = D3DUSAGE_WRITEONLY | (mDynamic ? D3DUSAGE_DYNAMIC : 0);
    const D3DFORMAT format = mElementSize == 4 ? D3DFMT_INDEX32 : D3DFMT_INDEX16;
    if (FAILED(mRenderDX9->mDevice->CreateIndexBuffer(mElementSize * mCount, usage, format,
                                                      mDynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &mBuffer,
                                                      nullptr)))
    {
        mBuffer = nullptr;
        return HV_FAIL;
    }
    return HV_OK;
}

HVResultEnum IndexBufferImplDX9::Lock()
{
    if (!mBuffer || mLocked)
        return HV_FAIL;
    void* data = nullptr;
    if (LockWholeBuffer(mBuffer, &data) != HV_OK)
        return HV_FAIL;
    MarkLocked(data);
    return HV_OK;
}

HVResultEnum IndexBufferImplDX9::Unlock()
{
    if (!mBuffer || !mLocked)
        return HV_FAIL;
    const HRESULT hr = mBuffer->Unlock();
    ForgetLock();
    return FAILED(hr) ? HV_FAIL : HV_OK;
}

HVResultEnum IndexBufferImplDX9::OnLostDevice()
{
    if (!mDynamic)
        return HV_OK;
    ForgetLock();
    ReleaseBuffer(mBuffer);
    return HV_OK;
}

HVResultEnum IndexBufferImplDX9::OnResetDevice()
{
    if (!mDynamic || mBuffer)
        return HV_OK;
    return CreateDevice();
}
} // namespace render
