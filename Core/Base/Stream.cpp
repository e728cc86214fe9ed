#include "Core/Base/Stream.h"

#include <algorithm>
#include <vector>

namespace base
{
bool Stream::AtEnd() const { return false; }

Stream::~Stream() = default;

uint32_t Stream::CopyFrom(Stream& source, uint32_t count)
{
    if (count == 0)
        return 0;
    // "All" is tested before the clamp below could turn it into "the rest".
    if (count == kAll)
    {
        count = source.Size();
        source.Seek(0, 0);
    }
    else
    {
        const uint32_t size = source.Size();
        const uint32_t position = source.Seek(0, 1);
        const uint32_t left = position < size ? size - position : 0;
        count = std::min(count, left);
    }
    if (count == 0)
        return 0;
    uint32_t moved = 0;
    uint32_t chunk = std::min<uint32_t>(count, 0x100000);
    std::vector<char> buffer(chunk);
    while (count > 0)
    {
        const uint32_t read = source.Read(buffer.data(), chunk);
        if (read == 0)
            break; // the source ended before its size said
        const uint32_t written = Write(buffer.data(), read);
        moved += written;
        if (written != read)
            break; // a full disk or a failing device
        count -= std::min(read, count);
        chunk = std::min(chunk, count);
    }
    return moved;
}
} // namespace base
