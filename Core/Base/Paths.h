#pragma once

// Path helpers on wide strings. '/' and '\\' both separate, unless a function
// says otherwise; the last separator is the later of the last of each.
#include <string>

namespace base
{
std::wstring AppendSeparator(const std::wstring& path, wchar_t separator);
std::wstring ToForwardSlashes(const std::wstring& path);
// Up to and including the last separator; empty without one.
std::wstring GetDirectory(const std::wstring& path);
// GetDirectory without a drive: it starts after the first ':', and is empty
// when no separator follows that ':'.
std::wstring GetRelativeDirectory(const std::wstring& path);
std::wstring GetFileName(const std::wstring& path);
// From the last '.' of the file name, '.' included; empty without one.
std::wstring GetExtension(const std::wstring& path);
// The file name up to its last '.'; a name whose only '.' leads stays whole.
std::wstring GetBaseName(const std::wstring& path);
std::wstring StripTrailingSeparators(const std::wstring& path);
} // namespace base
