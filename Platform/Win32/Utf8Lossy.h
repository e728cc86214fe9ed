#pragma once

// UTF-8 <-> wide text for the stand-in's own boundaries (command line, debugger
// output). Never throws: each bad sequence or code point becomes U+FFFD.
#include <string>
#include <string_view>

namespace win32
{
std::wstring Utf8ToWideLossy(std::string_view text);
std::string WideToUtf8Lossy(std::wstring_view text);
} // namespace win32
