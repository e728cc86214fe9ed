#include "Platform/Win32/CodePages.h"

#include "Platform/Win32/LastError.h"
#include "Platform/Win32/Utf8.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>
#include <utf8/checked.h>
#include <utf8/unchecked.h>

namespace
{
// Code points of the CP437 bytes 0x80 to 0xFF; the lower half is ASCII.
const wchar_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

bool CheckArguments(UINT codePage, DWORD flags, const void* source, int sourceLength, const void* dest,
                    int destLength)
{
    if (codePage != CP_ACP || flags != 0 || source == nullptr || sourceLength == 0 || sourceLength < -1 ||
        destLength < 0 || (destLength > 0 && dest == nullptr))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

template <class Char>
int Deliver(const std::basic_string<Char>& result, Char* dest, int destLength)
{
    const auto size = static_cast<int>(result.size());
    if (destLength == 0)
        return size;
    if (destLength < size)
    {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(dest, result.data(), result.size() * sizeof(Char));
    return size;
}
} // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR dest, int destLength)
{
    if (!CheckArguments(codePage, flags, source, sourceLength, dest, destLength))
        return 0;
    const size_t length = sourceLength == -1 ? std::strlen(source) + 1 : static_cast<size_t>(sourceLength);
    std::string clean;
    clean.reserve(length);
    utf8::replace_invalid(source, source + length, std::back_inserter(clean));
    std::wstring result;
    result.reserve(clean.size());
    utf8::unchecked::utf8to32(clean.begin(), clean.end(), std::back_inserter(result));
    return Deliver(result, dest, destLength);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR dest, int destLength,
                        LPCSTR defaultChar, BOOL* usedDefaultChar)
{
    if (usedDefaultChar != nullptr)
        *usedDefaultChar = FALSE;
    if (!CheckArguments(codePage, flags, source, sourceLength, dest, destLength))
        return 0;
    const size_t length = sourceLength == -1 ? std::wcslen(source) + 1 : static_cast<size_t>(sourceLength);
    std::string result;
    result.reserve(length);
    for (size_t i = 0; i < length; ++i)
    {
        if (win32::IsCodePoint(source[i]))
            win32::AppendUtf8(result, source[i]);
        else
        {
            result.push_back(defaultChar != nullptr ? defaultChar[0] : '?');
            if (usedDefaultChar != nullptr)
                *usedDefaultChar = TRUE;
        }
    }
    return Deliver(result, dest, destLength);
}

BOOL OemToCharBuffW(LPCSTR source, LPWSTR dest, DWORD length)
{
    if (length > 0 && (source == nullptr || dest == nullptr))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (DWORD i = 0; i < length; ++i)
    {
        const auto byte = static_cast<unsigned char>(source[i]);
        dest[i] = byte < 0x80 ? static_cast<wchar_t>(byte) : kCp437High[byte - 0x80];
    }
    return TRUE;
}

BOOL CharToOemBuffW(LPCWSTR source, LPSTR dest, DWORD length)
{
    if (length > 0 && (source == nullptr || dest == nullptr))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (DWORD i = 0; i < length; ++i)
    {
        const wchar_t c = source[i];
        char out = '?';
        if (static_cast<uint32_t>(c) < 0x80)
            out = static_cast<char>(c);
        else
        {
            for (int k = 0; k < 128; ++k)
            {
                if (kCp437High[k] == c)
                {
                    out = static_cast<char>(0x80 + k);
                    break;
                }
            }
        }
        dest[i] = out;
    }
    return TRUE;
}
