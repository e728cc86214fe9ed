#include "Platform/Win32/Utf8Lossy.h"

#include <utf8.h>

#include <iterator>

namespace win32
{
std::wstring Utf8ToWideLossy(std::string_view text)
{
    std::string valid;
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(valid));
    std::wstring out;
    utf8::utf8to32(valid.begin(), valid.end(), std::back_inserter(out));
    return out;
}

std::string WideToUtf8Lossy(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
    {
        try
        {
            utf8::append(static_cast<uint32_t>(c), std::back_inserter(out));
        }
        catch (const utf8::invalid_code_point&)
        {
            utf8::append(0xFFFDu, std::back_inserter(out));
        }
    }
    return out;
}
} // namespace win32
