#pragma once

// Wide paths to the UTF-8 bytes POSIX takes.
#include <string>

namespace win32
{
// '\\' becomes '/'; a value that is no code point becomes U+FFFD.
std::string PosixPath(const wchar_t* path);
}
