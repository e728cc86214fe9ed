#include "Core/Base/DeferredDelete.h"

#include <cstddef>

namespace base
{
void DeferredDeleteManager::DeleteAll()
{
    for (std::size_t i = 0; i < mDeferredQueue.size(); ++i)
        delete mDeferredQueue[i];
    mDeferredQueue.clear();
}
} // namespace base
