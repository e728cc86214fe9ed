#include "Core/Render/DX9/IndexBufferImplDX9.h"

#include "Core/Render/DX9/RenderDX9.h"

namespace render
{
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
    const D3DFORMAT format = mElementSize == 4 ? D3DFMT_INDEX32 : D3DFMT_INDEX16;
    if (FAILED(mRenderDX9->mDevice->CreateIndexBuffer(mElementSize * mCount, Usage(), format, Pool(), &mBuffer,
                                                      nullptr)))
    {
        mBuffer = nullptr;
        return HV_FAIL;
    }
    return HV_OK;
}
} // namespace render
