#pragma once

#include <vector>

namespace base
{
// An object that may still be in use during an update and is deleted at a
// safe point of the frame instead.
class DeferredDeletable
{
public:
    virtual ~DeferredDeletable() = default;
};

class DeferredDeleteManager
{
public:
    // Deletes every queued object, including those queued by a destructor
    // during the call, then empties the queue (its capacity stays).
    void DeleteAll();

    std::vector<DeferredDeletable*> mDeferredQueue;
};
} // namespace base
