#pragma once

// A string stored as a uint32 little-endian byte count and that many bytes.
#include "Core/Base/Result.h"
#include "Core/Base/Stream.h"

#include <string>

namespace base
{
// 1 when the length or the bytes fall short, or when the length is larger
// than what the stream has left (checked before anything is allocated).
HVResultEnum ReadString(Stream& stream, std::string& text);
} // namespace base
