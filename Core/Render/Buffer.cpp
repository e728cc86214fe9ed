#include "Core/Render/Buffer.h"

#include "Core/Render/Render.h"

#include <algorithm>

namespace render
{
Buffer::Buffer(Render* render) : mRender(render) { mRender->RegisterBuffer(this); }

Buffer::~Buffer() { mRender->UnregisterBuffer(this); }

HVResultEnum Buffer::Reserve(uint32_t count, void** address, uint32_t* granted)
{
    if (IsNotUsable())
        return HV_FAIL;
    if (mWritePosition >= mCount)
    {
        *address = nullptr;
        *granted = 0;
        return HV_OK;
    }
    *address = mAddress + size_t(mElementSize) * mWritePosition;
    *granted = std::min(count, mCount - mWritePosition);
    mWritePosition += *granted;
    return HV_OK;
}
} // namespace render
