#include "Core/Render/DX9/VertexBufferImplDX9.h"

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/VertexFormat.h"

namespace render
{
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
    if (FAILED(mRenderDX9->mDevice->CreateVertexBuffer(mElementSize * mCount, Usage(), mFvf, Pool(), &mBuffer,
                                                       nullptr)))
    {
        mBuffer = nullptr;
        return HV_FAIL;
    }
    return HV_OK;
}
} // namespace render
