#pragma once

// Opens a file through the file manager (no extension list) and hands its
// stream to a reader; the stream and the file are closed in every case.
#include "Core/Base/Result.h"

#include <functional>
#include <string>

namespace base
{
class Stream;
}

namespace lightwave
{
// 1 when the file does not open or has no stream, else the reader's result.
HVResultEnum ReadFile(const std::wstring& path, const std::function<HVResultEnum(base::Stream&)>& reader);
} // namespace lightwave
