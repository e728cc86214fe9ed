#include "Core/Base/Paths.h"

#include <algorithm>

namespace base
{
namespace
{
const std::wstring::size_type npos = std::wstring::npos;

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

std::wstring::size_type LastSeparator(const std::wstring& path) { return path.find_last_of(L"/\\"); }

// Where the file name starts.
std::wstring::size_type NameStart(const std::wstring& path)
{
    const auto separator = LastSeparator(path);
    return separator == npos ? 0 : separator + 1;
}
} // namespace

std::wstring AppendSeparator(const std::wstring& path, wchar_t separator) { return path + separator; }

std::wstring ToForwardSlashes(const std::wstring& path)
{
    std::wstring out = path;
    std::replace(out.begin(), out.end(), L'\\', L'/');
    return out;
}

std::wstring GetDirectory(const std::wstring& path)
{
    const auto separator = LastSeparator(path);
    return separator == npos ? std::wstring() : path.substr(0, separator + 1);
}

std::wstring GetRelativeDirectory(const std::wstring& path)
{
    const auto separator = LastSeparator(path);
    if (separator == npos)
        return std::wstring();
    std::wstring::size_type start = 0;
    const auto colon = path.find(L':');
    if (colon != npos)
    {
        if (colon + 1 >= path.size() || !IsSeparator(path[colon + 1]))
            return std::wstring();
        start = colon + 1;
    }
    return path.substr(start, separator + 1 - start);
}

std::wstring GetFileName(const std::wstring& path) { return path.substr(NameStart(path)); }

std::wstring GetExtension(const std::wstring& path)
{
    const auto dot = path.rfind(L'.');
    if (dot == npos || dot < NameStart(path))
        return std::wstring();
    return path.substr(dot);
}

std::wstring GetBaseName(const std::wstring& path)
{
    const auto start = NameStart(path);
    const auto dot = path.rfind(L'.');
    if (dot == npos || dot <= start)
        return path.substr(start);
    return path.substr(start, dot - start);
}

std::wstring StripTrailingSeparators(const std::wstring& path)
{
    auto end = path.size();
    while (end > 0 && IsSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}
} // namespace base
