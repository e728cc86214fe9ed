#include "Platform/Win32/Utf8.h"

#include <cstdint>
#include <iterator>
#include <utf8/unchecked.h>

namespace win32
{
bool IsCodePoint(wchar_t c)
{
    const auto value = static_cast<uint32_t>(c);
    return value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
}

void AppendUtf8(std::string& out, wchar_t c)
{
    const uint32_t value = IsCodePoint(c) ? static_cast<uint32_t>(c) : 0xFFFDu;
    utf8::unchecked::append(value, std::back_inserter(out));
}

std::string PathToUtf8(const wchar_t* path)
{
    std::string out;
    for (; *path != L'\0'; ++path)
        AppendUtf8(out, *path == L'\\' ? L'/' : *path);
    return out;
}
} // namespace win32
