#pragma once

// Conversions between narrow byte texts and wide (code point) texts by a
// numbered encoding. None of them fails: bad input becomes U+FFFD, '?' or a
// shorter text, as each encoding says.
#include <string>

namespace base
{
// 0 bytes, 1 UTF-8, 2 ANSI code page, 3 OEM code page; any other number
// gives the empty string.
std::wstring ToWide(const std::string& text, int encoding);
std::string ToNarrow(const std::wstring& text, int encoding);

// Each byte by 16-bit sign extension (0x80 gives 0xFF80); back: the low byte.
std::wstring BytesToWide(const std::string& text);
std::string WideToBytes(const std::wstring& text);

// Each bad UTF-8 sequence, and each value that is no code point, becomes U+FFFD.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// Through the ANSI code page; a character without a narrow form ends the result.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);

// Through the OEM code page; a character without an OEM form becomes '?'.
std::wstring OemToWide(const std::string& text);
std::string WideToOem(const std::wstring& text);
} // namespace base
