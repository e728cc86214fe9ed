#include "Core/Render/BufferDoubleCache.h"

namespace render
{
HVResultEnum BufferDoubleCacheBase::Lock()
{
    if (mOpen)
        return HV_FAIL;
    mOpen = 1;
    return HV_OK;
}
} // namespace render
