#include "Framework/Lightwave/StreamFields.h"

#include "Core/Base/Stream.h"

#include <cstring>

namespace lightwave
{
bool ReadUInt32(base::Stream& stream, uint32_t& value)
{
    unsigned char bytes[4];
    if (stream.Read(bytes, 4) != 4)
        return false;
    value = bytes[0] | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

bool ReadInt32(base::Stream& stream, int32_t& value)
{
    uint32_t bits;
    if (!ReadUInt32(stream, bits))
        return false;
    value = static_cast<int32_t>(bits);
    return true;
}

bool ReadFloat(base::Stream& stream, float& value)
{
    uint32_t bits;
    if (!ReadUInt32(stream, bits))
        return false;
    std::memcpy(&value, &bits, sizeof(value));
    return true;
}

uint32_t BytesLeft(base::Stream& stream)
{
    const uint32_t size = stream.Size();
    const uint32_t position = stream.Seek(0, 1);
    return position < size ? size - position : 0;
}

bool CountFits(base::Stream& stream, uint32_t count, uint32_t recordSize)
{
    return uint64_t(count) * recordSize <= BytesLeft(stream);
}
} // namespace lightwave
