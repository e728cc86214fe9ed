#pragma once

// The span of a CPU copy written since it last went to its GL object, so
// that an upload sends only what changed.
#include "Platform/Win32/Types.h"

#include <algorithm>

namespace d3d9 {

struct DirtyRange
{
    UINT begin = 0;
    UINT end = 0;

    bool Empty() const { return begin >= end; }
    void Clear() { begin = end = 0; }
    void Add(UINT from, UINT to)
    {
        if (from >= to)
            return;
        if (Empty())
        {
            begin = from;
            end = to;
            return;
        }
        begin = std::min(begin, from);
        end = std::max(end, to);
    }
};

} // namespace d3d9
