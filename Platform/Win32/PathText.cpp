#include "Platform/Win32/PathText.h"

#include <utf8.h>

namespace win32
{
std::string PathToUtf8(const wchar_t* path)
{
    std::string out;
    if (!path)
        return out;
    for (const wchar_t* p = path; *p; ++p)
    {
        uint32_t cp = static_cast<uint32_t>(*p);
        if (cp == '\\')
            cp = '/';
        if (!utf8::internal::is_code_point_valid(cp))
            cp = 0xFFFD;
        utf8::append(cp, std::back_inserter(out));
    }
    return out;
}

std::wstring NameFromUtf8(const std::string& name)
{
    std::string valid = utf8::replace_invalid(name);
    std::wstring out;
    utf8::utf8to32(valid.begin(), valid.end(), std::back_inserter(out));
    return out;
}
}
