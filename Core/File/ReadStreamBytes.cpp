#include "Core/File/ReadStreamBytes.h"

#include "Core/Base/Stream.h"

namespace file
{
bool ReadStreamBytes(base::Stream& stream, std::string& bytes)
{
    const uint32_t size = stream.Size();
    bytes.assign(size, '\0');
    stream.Seek(0, 0);
    if (size && stream.Read(bytes.data(), size) != size)
    {
        bytes.clear();
        return false;
    }
    return true;
}
}
