#pragma once

#include "Core/Base/Delegate.h"

#include <cassert>

namespace base
{
// Shared owner of one delegate; the last holder deletes it. Counts are not
// atomic: handles live on the main thread.
class DelegateHandle
{
public:
    DelegateHandle() = default;
    DelegateHandle(const DelegateHandle& other);
    DelegateHandle& operator=(const DelegateHandle& other);
    ~DelegateHandle();

    // Releases what is held, then holds the delegate with a fresh count of 1
    // (null leaves the handle empty). The delegate already held stays as it is.
    void Assign(DelegateBase* delegate);
    void Reset();

    DelegateBase* Get() const { return mDelegate; }
    explicit operator bool() const { return mDelegate != nullptr; }

    // The held delegate as the kind its holder installed.
    template <class D>
    D* As() const
    {
        assert(!mDelegate || dynamic_cast<D*>(mDelegate));
        return static_cast<D*>(mDelegate);
    }


private:
    DelegateBase* mDelegate = nullptr;
    int* mCount = nullptr;
};
} // namespace base
