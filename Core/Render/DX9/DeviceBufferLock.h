#pragma once

#include "Core/Base/Result.h"
#include "Platform/D3D9/D3D9.h"

namespace render
{
// The discarding lock of a whole vertex or index buffer.
template <class D3DBuffer>
HVResultEnum LockWholeBuffer(D3DBuffer* buffer, void** data)
{
    *data = nullptr;
    if (FAILED(buffer->Lock(0, 0, data, D3DLOCK_DISCARD)))
        return HV_FAIL;
    return HV_OK;
}

template <class D3DBuffer>
void ReleaseBuffer(D3DBuffer*& buffer)
{
    if (buffer)
        buffer->Release();
    buffer = nullptr;
}
} // namespace render
