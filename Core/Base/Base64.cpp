#include "Core/Base/Base64.h"

#include <cstdint>

namespace base
{
namespace
{
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}
} // namespace

std::string Base64Encode(const std::string& data)
{
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= data.size(); i += 3)
    {
        const uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << 16 |
                               static_cast<uint32_t>(static_cast<unsigned char>(data[i + 1])) << 8 |
                               static_cast<unsigned char>(data[i + 2]);
        out.push_back(kAlphabet[group >> 18]);
        out.push_back(kAlphabet[(group >> 12) & 63]);
        out.push_back(kAlphabet[(group >> 6) & 63]);
        out.push_back(kAlphabet[group & 63]);
    }
    const size_t rest = data.size() - i;
    if (rest > 0)
    {
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << 16;
        if (rest == 2)
            group |= static_cast<uint32_t>(static_cast<unsigned char>(data[i + 1])) << 8;
        out.push_back(kAlphabet[group >> 18]);
        out.push_back(kAlphabet[(group >> 12) & 63]);
        out.push_back(rest == 2 ? kAlphabet[(group >> 6) & 63] : '=');
        out.push_back('=');
    }
    return out;
}

std::string Base64Decode(const std::string& text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3 + 2);
    uint32_t group = 0;
    int count = 0;
    for (char c : text)
    {
        const int value = ValueOf(c);
        if (value < 0)
            break;
        group = group << 6 | static_cast<uint32_t>(value);
        if (++count == 4)
        {
            out.push_back(static_cast<char>(group >> 16));
            out.push_back(static_cast<char>(group >> 8));
            out.push_back(static_cast<char>(group));
            group = 0;
            count = 0;
        }
    }
    if (count == 2)
        out.push_back(static_cast<char>(group >> 4));
    else if (count == 3)
    {
        out.push_back(static_cast<char>(group >> 10));
        out.push_back(static_cast<char>(group >> 2));
    }
    return out;
}
} // namespace base
