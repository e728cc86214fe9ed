#pragma once

// Wide paths and names to the UTF-8 bytes POSIX takes, and back.
#include <string>

namespace win32
{
// '\\' becomes '/'; a code point that UTF-8 cannot hold becomes U+FFFD.
std::string PathToUtf8(const wchar_t* path);
// Each invalid UTF-8 sequence becomes U+FFFD.
std::wstring NameFromUtf8(const std::string& name);
}
