#include "Core/Base/ReadString.h"

#include <cstdint>

namespace base
{
HVResultEnum ReadString(Stream& stream, std::string& text)
{
    unsigned char bytes[4];
    if (stream.Read(bytes, 4) != 4)
        return HV_FAIL;
    const uint32_t length = bytes[0] | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    // A damaged length must not allocate gigabytes.
    const uint32_t size = stream.Size();
    const uint32_t position = stream.Seek(0, 1);
    if (position > size || length > size - position)
        return HV_FAIL;
    text.resize(length);
    if (length > 0 && stream.Read(text.data(), length) != length)
        return HV_FAIL;
    return HV_OK;
}
} // namespace base
