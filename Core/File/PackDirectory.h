#pragma once

#include "Core/Base/Result.h"
#include "Core/File/PackEntry.h"
#include "Core/File/PackNameText.h"

#include <map>
#include <string>

namespace file
{
// Pack file: uint32 6, "hvpack", uint32 entry count, the records (name, then
// PackEntry), then the entries' bytes. Records are written in UTF-16 name order.
class PackDirectory
{
public:
    using Map = std::map<std::wstring, PackEntry, PackNameLess>;

    // Reads record after record, keeping what was read before any damage:
    // a short read fails at once, a repeated name keeps its first record and
    // a record whose bytes lie past the end of the pack (or beyond 2 GiB) is
    // left out, which also makes the result 1.
    HVResultEnum Read(base::Stream& stream);
    HVResultEnum Write(base::Stream& stream) const;
    // Bytes of the directory as written.
    uint32_t GetSize() const;

    Map entries;
};
}
