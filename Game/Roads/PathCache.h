#pragma once

// The binary path cache: the lane-path table of a level, precomputed.
// Little-endian, no header, every field 4 bytes:
//   file  = u32 entry count, entries
//   entry = i32 link index, u32 number count, (i32 key, f32 value) x count,
//           u32 lane count, lanes
//   lane  = i32 offset, u32 sample count,
//           (f32 extra, normal x, normal y, x, y) x count
#include "Core/Base/Result.h"

#include <vector>

namespace base
{
class Stream;
}
class NQLink;
class NQLinkLanes;

// Appends the cache's entries to the table, each keyed by the link at its
// index. A damaged cache (a short read, a count the bytes left cannot hold, a
// link index outside the list, a float that is not finite) adds nothing and
// gives 1, so the caller computes the lanes instead. Bytes after the last
// entry are ignored.
HVResultEnum ReadPathCache(base::Stream& stream, const std::vector<NQLink*>& links,
                           std::vector<NQLinkLanes*>& table);
