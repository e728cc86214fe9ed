#pragma once

// UTF-8 helpers of the stand-in. They never throw: a value that is no code
// point is written as U+FFFD.
#include <string>

namespace win32
{
bool IsCodePoint(wchar_t c);
void AppendUtf8(std::string& out, wchar_t c);
// The wide text as UTF-8, each '\\' turned into '/': how a path reaches POSIX.
std::string PathToUtf8(const wchar_t* path);
} // namespace win32
