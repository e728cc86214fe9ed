#include "Core/Base/TextEncoding.h"

#include "Platform/Win32/CodePages.h"

#include <cstdint>
#include <iterator>
#include <utf8/checked.h>
#include <utf8/unchecked.h>

namespace base
{
namespace
{
// The text up to its first zero: the converters below work on C strings.
template <class Char>
std::basic_string<Char> UpToZero(std::basic_string<Char> text)
{
    const size_t zero = text.find(Char(0));
    if (zero != std::basic_string<Char>::npos)
        text.resize(zero);
    return text;
}
} // namespace

std::wstring ToWide(const std::string& text, int encoding)
{
    switch (encoding)
    {
    case 0: return BytesToWide(text);
    case 1: return Utf8ToWide(text);
    case 2: return AnsiToWide(text);
    case 3: return OemToWide(text);
    default: return std::wstring();
    }
}

std::string ToNarrow(const std::wstring& text, int encoding)
{
    switch (encoding)
    {
    case 0: return WideToBytes(text);
    case 1: return WideToUtf8(text);
    case 2: return WideToAnsi(text);
    case 3: return WideToOem(text);
    default: return std::string();
    }
}

std::wstring BytesToWide(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (char c : text)
        out.push_back(static_cast<wchar_t>(static_cast<uint16_t>(static_cast<int16_t>(static_cast<signed char>(c)))));
    return out;
}

std::string WideToBytes(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out.push_back(static_cast<char>(static_cast<uint32_t>(c) & 0xFF));
    return out;
}

std::wstring Utf8ToWide(const std::string& text)
{
    // The checked decoder throws on bad input: clean it first.
    std::string clean;
    clean.reserve(text.size());
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(clean));
    std::wstring out;
    out.reserve(clean.size());
    utf8::unchecked::utf8to32(clean.begin(), clean.end(), std::back_inserter(out));
    return out;
}

std::string WideToUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
    {
        auto value = static_cast<uint32_t>(c);
        if (!utf8::internal::is_code_point_valid(value))
            value = 0xFFFD;
        utf8::unchecked::append(value, std::back_inserter(out));
    }
    return out;
}

std::wstring AnsiToWide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length < 1)
        return std::wstring();
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), length);
    return UpToZero(std::move(out));
}

std::string WideToAnsi(const std::wstring& text)
{
    const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, "", nullptr);
    if (length < 1)
        return std::string();
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), length, "", nullptr);
    return UpToZero(std::move(out));
}

std::wstring OemToWide(const std::string& text)
{
    std::wstring out(text.size(), L'\0');
    if (!OemToCharBuffW(text.data(), out.data(), static_cast<DWORD>(text.size())))
        return std::wstring();
    return UpToZero(std::move(out));
}

std::string WideToOem(const std::wstring& text)
{
    std::string out(text.size(), '\0');
    if (!CharToOemBuffW(text.data(), out.data(), static_cast<DWORD>(text.size())))
        return std::string();
    return UpToZero(std::move(out));
}
} // namespace base
