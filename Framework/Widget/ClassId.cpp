#include "Framework/Widget/ClassId.h"

namespace widget
{
ClassId::ClassId(ClassId* parent) : mDepth(parent->mDepth + 1)
{
    const uint32_t count = ++parent->mDerived;
    switch (mDepth)
    {
    case 1:
        mValue = count;
        break;
    case 2:
    case 3:
    case 4:
        mValue = (count << (8 * (mDepth - 1))) | parent->mValue;
        break;
    default:
        // Deeper identifiers have no byte left for their count.
        mValue = 0;
        break;
    }
}
} // namespace widget
