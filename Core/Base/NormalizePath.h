#pragma once

#include <string>

namespace base
{
// The directory form of a path: '\\' becomes '/', trailing '/' are removed and
// exactly one '/' is appended; empty, or only separators, gives "".
std::wstring NormalizePath(const std::wstring& path);
} // namespace base
