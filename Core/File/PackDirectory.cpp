#include "Core/File/PackDirectory.h"

#include "Core/Base/Stream.h"

#include <cstring>

namespace file
{
namespace
{
const char kMagic[] = "hvpack";
constexpr uint32_t kMagicLength = 6;
// A frame stream seeks its pack with a signed 32-bit offset.
constexpr uint64_t kLargestEnd = 0x7FFFFFFF;
}

HVResultEnum PackDirectory::Read(base::Stream& stream)
{
    uint32_t length = 0;
    if (ReadPackUInt32(stream, length) != HV_OK || length != kMagicLength)
        return HV_FAIL;
    char magic[kMagicLength];
    if (stream.Read(magic, kMagicLength) != kMagicLength || std::memcmp(magic, kMagic, kMagicLength) != 0)
        return HV_FAIL;
    uint32_t count = 0;
    if (ReadPackUInt32(stream, count) != HV_OK)
        return HV_FAIL;

    const uint64_t packSize = stream.Size();
    HVResultEnum result = HV_OK;
    // No reserve from the count: a damaged count must cost nothing.
    for (uint32_t i = 0; i < count; ++i)
    {
        std::wstring name;
        PackEntry entry;
        if (ReadPackName(stream, name) != HV_OK || entry.Read(stream) != HV_OK)
            return HV_FAIL;
        const uint64_t end = uint64_t(entry.offset) + entry.size;
        if (end > packSize || end > kLargestEnd)
        {
            result = HV_FAIL;
            continue;
        }
        entries.emplace(std::move(name), entry);
    }
    return result;
}

HVResultEnum PackDirectory::Write(base::Stream& stream) const
{
    if (WritePackUInt32(stream, kMagicLength) != HV_OK || stream.Write(kMagic, kMagicLength) != kMagicLength ||
        WritePackUInt32(stream, uint32_t(entries.size())) != HV_OK)
        return HV_FAIL;
    for (const auto& [name, entry] : entries)
    {
        if (WritePackName(stream, name) != HV_OK || entry.Write(stream) != HV_OK)
            return HV_FAIL;
    }
    return HV_OK;
}

uint32_t PackDirectory::GetSize() const
{
    uint32_t size = 4 + kMagicLength + 4;
    for (const auto& [name, entry] : entries)
        size += 4 + 2 * uint32_t(ToPackUnits(name).size()) + PackEntry::kRecordSize;
    return size;
}
}
