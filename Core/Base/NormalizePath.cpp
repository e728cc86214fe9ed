#include "Core/Base/NormalizePath.h"

#include <algorithm>

namespace base
{
std::wstring NormalizePath(const std::wstring& path)
{
    std::wstring result = path;
    std::replace(result.begin(), result.end(), L'\\', L'/');
    const size_t last = result.find_last_not_of(L'/');
    if (last == std::wstring::npos)
        return {};
    result.resize(last + 1);
    result += L'/';
    return result;
}
} // namespace base
