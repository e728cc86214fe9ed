#pragma once

// Little-endian fields of the exported binary files, read byte by byte so
// that neither the host's order nor its struct layout matters.
#include "Core/Base/Result.h"

#include <cstdint>

namespace base
{
class Stream;
}

namespace lightwave
{
bool ReadUInt32(base::Stream& stream, uint32_t& value);
bool ReadInt32(base::Stream& stream, int32_t& value);
bool ReadFloat(base::Stream& stream, float& value);

// Bytes between the position and the end.
uint32_t BytesLeft(base::Stream& stream);
// Whether count records of at least recordSize bytes each can still follow:
// a damaged count must fail before anything is sized from it.
bool CountFits(base::Stream& stream, uint32_t count, uint32_t recordSize);
} // namespace lightwave
