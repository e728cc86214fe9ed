#include "Core/Render/CommandBuffer.h"

namespace render
{
void CommandBuffer::Resize(uint32_t newSize, bool keep)
{
    const uint64_t grown = uint64_t(mSize) * 3 / 2;
    uint64_t target = newSize < grown ? grown : uint64_t(newSize) + 1024;
    if (target > UINT32_MAX)
        target = newSize;
    base::MemoryStream::Resize(static_cast<uint32_t>(target), keep);
}
} // namespace render
