#include "Core/Render/DX9/VertexBufferImplDX9.h"

#include "Core/Render/DX9/DeviceBufferLock.h"
#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/VertexFormat.h"

namespace render
{
VertexBufferImplDX9::VertexBufferImplDX9(RenderDX9* render) : VertexBufferImpl(render), mRenderDX9(render) {}

VertexBufferImplDX9::~VertexBufferImplDX9() { ReleaseBuffer(mBuffer); }

HVResultEnum VertexBufferImplDX9::Create(const VertexFormat* format, uint32_t count, bool dynamic)
{
    if (mBuffer)
        return HV_FAIL;
    mDynamic = dynamic;
    mCount = count;
    mElementSize = format->mStride;
    mFormatId = format->mId;
    mFvf = format->mFvf;
    return CreateDevice();
}

HVResultEnum VertexBufferImplDX9::CreateDevice()
{
    const DWORD usage = D3DUSAGE_WRITEONLY | (mDynamic ? D3DUSAGE_DYNAMIC : 0);
    if (FAILED(mRenderDX9->mDevice->CreateVertexBuffer(mElementSize * mCount, usage, mFvf,
                                                       mDynamic ? D3DPOOL_DEFAULT : D3DPOOL_MANAGED, &mBuffer,
                                                       nullptr)))
    {
        mBuffer = nullptr;
        return HV_FAIL;
    }
    return HV_OK;
}

HVResultEnum VertexBufferImplDX9::Lock()
{
    if (!mBuffer || mLocked)
        return HV_FAIL;
    void* data = nullptr;
    if (LockWholeBuffer(mBuffer, &data) != HV_OK)
        return HV_FAIL;
    MarkLocked(data);
    return HV_OK;
}

HVResultEnum VertexBufferImplDX9::Unlock()
{
    if (!mBuffer || !mLocked)
        return HV_FAIL;
    const HRESULT hr = mBuffer->Unlock();
    ForgetLock();
    return FAILED(hr) ? HV_FAIL : HV_OK;
}

HVResultEnum VertexBufferImplDX9::OnLostDevice()
{
    if (!mDynamic)
        return HV_OK;
    ForgetLock();
    ReleaseBuffer(mBuffer);
    return HV_OK;
}

HVResultEnum VertexBufferImplDX9::OnResetDevice()
{
    if (!mDynamic || mBuffer)
        return HV_OK;
    return CreateDevice();
}
} // namespace render
