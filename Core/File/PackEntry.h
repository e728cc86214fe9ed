#pragma once

#include "Core/Base/Result.h"

#include <cstdint>
#include <string>

namespace base
{
class Stream;
}

namespace file
{
// One directory record without its name. Fields are little-endian in the file.
struct PackEntry
{
    uint32_t size = 0;
    uint32_t offset = 0;
    uint8_t reserved1 = 0;
    uint32_t reserved2 = 0;

    static constexpr uint32_t kRecordSize = 13;

    // Reads the 13 bytes; the reserved fields are skipped and stay 0.
    HVResultEnum Read(base::Stream& stream);
    HVResultEnum Write(base::Stream& stream) const;
};

// A name: uint32 count of UTF-16 units, then the units. Read fails, without
// allocating, when the count runs past the end of the stream.
HVResultEnum ReadPackName(base::Stream& stream, std::wstring& name);
HVResultEnum WritePackName(base::Stream& stream, const std::wstring& name);

// Little-endian 32-bit fields of the pack format.
HVResultEnum ReadPackUInt32(base::Stream& stream, uint32_t& value);
HVResultEnum WritePackUInt32(base::Stream& stream, uint32_t value);
}
