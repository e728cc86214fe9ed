#include "Core/Base/FormatParser.h"

#include <cstdint>

namespace base
{
namespace
{
// A specification under construction; all zero when a '%' is met.
struct SpecBuild
{
    int stage = 0;
    bool digitSeen = false;
    uint32_t width = 0;
    bool afterPoint = false;
    uint32_t precision = 0;
    int character = 0;
    bool alternate = false;
};

enum Stage
{
    kReject = 0,
    kFlag = 1,
    kDigit = 2,
    kLength = 4,
    kConversion = 5,
};

using Handler = int (*)(FormatState& spec, SpecBuild& build);

int Reject(FormatState&, SpecBuild&) { return kReject; }

// Widths come from data files too (localised strings); a damaged one must
// not make the padding ask for gigabytes.
constexpr uint32_t kMaxWidth = 4096;

int Digit(FormatState&, SpecBuild& build)
{
    const auto digit = static_cast<uint32_t>(build.character - '0');
    uint32_t& target = build.afterPoint ? build.precision : build.width;
    target = target * 10 + digit;
    if (target > kMaxWidth)
        target = kMaxWidth;
    build.digitSeen = true;
    return kDigit;
}

// One table for both text kinds, built on first use.
const Handler* HandlerTable()
{
    static const struct Table
    {
        Handler entries[128];
        Handler& At(char c) { return entries[static_cast<unsigned char>(c)]; }
        Table()
        {
            for (Handler& h : entries)
                h = Reject;
            At('-') = [](FormatState& s, SpecBuild&) { s.mAlignment = 1; return int(kFlag); };
            At('=') = [](FormatState& s, SpecBuild&) { s.mAlignment = 2; return int(kFlag); };
            At('+') = [](FormatState& s, SpecBuild&) { s.mPlus = true; return int(kFlag); };
            At(' ') = [](FormatState& s, SpecBuild&) { s.mSpace = true; return int(kFlag); };
            At('#') = [](FormatState&, SpecBuild& b) { b.alternate = true; return int(kFlag); };
            At('0') = [](FormatState& s, SpecBuild& b) {
                if (b.digitSeen)
                    return Digit(s, b);
                s.mZero = true;
                return int(kFlag);
            };
            for (int c = '1'; c <= '9'; ++c)
                At(static_cast<char>(c)) = Digit;
            At('.') = [](FormatState&, SpecBuild& b) {
                if (b.afterPoint)
                    return int(kReject);
                b.afterPoint = true;
                b.digitSeen = true;
                return int(kDigit);
            };
            for (char c : {'h', 'l', 'L'})
                At(c) = [](FormatState&, SpecBuild&) { return int(kLength); };
            for (char c : {'c', 'd', 'i', 's', 'u', 'p', 'n'})
                At(c) = [](FormatState&, SpecBuild&) { return int(kConversion); };
            At('e') = [](FormatState& s, SpecBuild&) { s.mFloatStyle = 1; return int(kConversion); };
            At('E') = [](FormatState& s, SpecBuild&) {
                s.mFloatStyle = 1;
                s.mUpper = true;
                return int(kConversion);
            };
            At('f') = [](FormatState& s, SpecBuild&) { s.mFloatStyle = 2; return int(kConversion); };
            At('g') = [](FormatState& s, SpecBuild&) { s.mFloatStyle = 0; return int(kConversion); };
            At('G') = [](FormatState& s, SpecBuild&) {
                s.mFloatStyle = 0;
                s.mUpper = true;
                return int(kConversion);
            };
            At('o') = [](FormatState& s, SpecBuild&) { s.mBase = 2; return int(kConversion); };
            At('b') = [](FormatState& s, SpecBuild&) { s.mBase = 3; return int(kConversion); };
            At('x') = [](FormatState& s, SpecBuild&) { s.mBase = 1; return int(kConversion); };
            At('X') = [](FormatState& s, SpecBuild&) {
                s.mBase = 1;
                s.mUpper = true;
                return int(kConversion);
            };
        }
    } table;
    return table.entries;
}

// Characters are tested on their full value: a signed char or a wide
// character above 127 must never index the table.
template <class Char>
uint32_t CodeOf(Char c)
{
    if constexpr (sizeof(Char) == 1)
        return static_cast<unsigned char>(c);
    else
        return static_cast<uint32_t>(c);
}
} // namespace

template <class Char>
bool ParseFormat(const std::basic_string<Char>& format, size_t& position, FormatState& spec,
                 std::basic_string<Char>& output)
{
    const Handler* handlers = HandlerTable();
    const size_t end = format.size();
    spec.Clear();
    while (position < end)
    {
        if (format[position] != Char('%'))
        {
            // Plain text up to the next '%' goes in one piece.
            size_t next = format.find(Char('%'), position);
            if (next == std::basic_string<Char>::npos)
                next = end;
            output.append(format, position, next - position);
            position = next;
            continue;
        }
        ++position;
        SpecBuild build;
        if (position == end)
        {
            output.push_back(Char('%'));
            continue;
        }
        for (;;)
        {
            const Char c = format[position];
            const uint32_t code = CodeOf(c);
            int result = kReject;
            if (code != 0 && code <= 127)
            {
                build.character = static_cast<int>(code);
                result = handlers[code](spec, build);
            }
            if (result == kConversion)
            {
                ++position;
                spec.mWidth = build.width;
                spec.mPrecision = build.precision;
                spec.mAlternate = build.alternate;
                return false;
            }
            if (result == kReject || result < build.stage)
            {
                // Only the rejected character is written; the ones before it go.
                output.push_back(c);
                ++position;
                break;
            }
            build.stage = result;
            ++position;
            if (position == end)
            {
                output.push_back(c);
                break;
            }
        }
    }
    return true;
}

template bool ParseFormat<char>(const std::string&, size_t&, FormatState&, std::string&);
template bool ParseFormat<wchar_t>(const std::wstring&, size_t&, FormatState&, std::wstring&);
} // namespace base
