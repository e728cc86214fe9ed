#include "Core/Base/DelegateHandle.h"

namespace base
{
DelegateHandle::DelegateHandle(const DelegateHandle& other) : mDelegate(other.mDelegate), mCount(other.mCount)
{
    if (mCount)
        ++*mCount;
}

DelegateHandle& DelegateHandle::operator=(const DelegateHandle& other)
{
    // Count the new share before releasing the old one, so assigning a handle
    // to itself (or to a sharer) never frees what it is about to hold.
    if (other.mCount)
        ++*other.mCount;
    DelegateBase* delegate = other.mDelegate;
    int* count = other.mCount;
    Reset();
    mDelegate = delegate;
    mCount = count;
    return *this;
}

DelegateHandle::~DelegateHandle()
{
    Reset();
}

void DelegateHandle::Assign(DelegateBase* delegate)
{
    if (delegate && delegate == mDelegate)
        return;
    Reset();
    if (delegate)
    {
        mDelegate = delegate;
        mCount = new int(1);
    }
}

void DelegateHandle::Reset()
{
    if (mCount)
    {
        if (--*mCount <= 0)
        {
            delete mDelegate;
            delete mCount;
        }
    }
    mDelegate = nullptr;
    mCount = nullptr;
}
} // namespace base
