#include "Core/File/PackEntry.h"

#include "Core/Base/Stream.h"
#include "Core/File/PackNameText.h"

#include <vector>

namespace file
{
namespace
{
uint32_t Le32(const uint8_t* b)
{
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void PutLe32(uint8_t* b, uint32_t v)
{
    b[0] = uint8_t(v);
    b[1] = uint8_t(v >> 8);
    b[2] = uint8_t(v >> 16);
    b[3] = uint8_t(v >> 24);
}

uint32_t BytesLeft(base::Stream& stream)
{
    const uint32_t position = stream.Seek(0, 1);
    const uint32_t size = stream.Size();
    return size > position ? size - position : 0;
}
}

HVResultEnum ReadPackUInt32(base::Stream& stream, uint32_t& value)
{
    uint8_t b[4];
    if (stream.Read(b, 4) != 4)
        return HV_FAIL;
    value = Le32(b);
    return HV_OK;
}

HVResultEnum WritePackUInt32(base::Stream& stream, uint32_t value)
{
    uint8_t b[4];
    PutLe32(b, value);
    return stream.Write(b, 4) == 4 ? HV_OK : HV_FAIL;
}

HVResultEnum PackEntry::Read(base::Stream& stream)
{
    uint8_t b[kRecordSize];
    if (stream.Read(b, kRecordSize) != kRecordSize)
        return HV_FAIL;
    size = Le32(b);
    offset = Le32(b + 4);
    return HV_OK;
}

HVResultEnum PackEntry::Write(base::Stream& stream) const
{
    uint8_t b[kRecordSize];
    PutLe32(b, size);
    PutLe32(b + 4, offset);
    b[8] = reserved1;
    PutLe32(b + 9, reserved2);
    return stream.Write(b, kRecordSize) == kRecordSize ? HV_OK : HV_FAIL;
}

HVResultEnum ReadPackName(base::Stream& stream, std::wstring& name)
{
    uint32_t count = 0;
    if (ReadPackUInt32(stream, count) != HV_OK)
        return HV_FAIL;
    // A damaged count must not make us allocate what the stream cannot hold.
    const uint64_t bytes = uint64_t(count) * 2;
    if (bytes > BytesLeft(stream))
        return HV_FAIL;
    std::vector<uint8_t> raw(bytes);
    if (bytes && stream.Read(raw.data(), uint32_t(bytes)) != bytes)
        return HV_FAIL;
    std::u16string units(count, u'\0');
    for (uint32_t i = 0; i < count; ++i)
        units[i] = char16_t(raw[2 * i] | raw[2 * i + 1] << 8);
    name = FromPackUnits(units);
    return HV_OK;
}

HVResultEnum WritePackName(base::Stream& stream, const std::wstring& name)
{
    const std::u16string units = ToPackUnits(name);
    std::vector<uint8_t> raw(4 + units.size() * 2);
    PutLe32(raw.data(), uint32_t(units.size()));
    for (size_t i = 0; i < units.size(); ++i)
    {
        raw[4 + 2 * i] = uint8_t(units[i]);
        raw[5 + 2 * i] = uint8_t(units[i] >> 8);
    }
    return stream.Write(raw.data(), uint32_t(raw.size())) == raw.size() ? HV_OK : HV_FAIL;
}
}
