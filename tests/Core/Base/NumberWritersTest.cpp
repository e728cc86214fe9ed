#include "Core/Base/FormatSpec.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{
// Flags as letters: '-' left, '=' centre, '+' plus, ' ' space, '#' alternate,
// '0' zero, 'U' upper case.
struct Spec
{
    const char* flags;
    uint32_t width;
    uint32_t precision;
    int base;  // 0 dec, 1 hex, 2 oct, 3 bin
    int style; // 0 general, 1 exponent, 2 fixed
};

template <class Char>
void Apply(base::BasicFormatSpec<Char>& spec, const Spec& s)
{
    for (const char* f = s.flags; *f != '\0'; ++f)
    {
        switch (*f)
        {
        case '-': spec.mAlignment = 1; break;
        case '=': spec.mAlignment = 2; break;
        case '+': spec.mPlus = true; break;
        case ' ': spec.mSpace = true; break;
        case '#': spec.mAlternate = true; break;
        case '0': spec.mZero = true; break;
        case 'U': spec.mUpper = true; break;
        default: break;
        }
    }
    spec.mBase = s.base;
    spec.mFloatStyle = s.style;
}

template <class Char, class Write>
std::string Written(const Spec& s, Write write)
{
    base::BasicFormatSpec<Char> spec(s.width, s.precision);
    Apply(spec, s);
    write(spec);
    const auto& text = spec.GetText();
    std::string narrow;
    for (Char c : text)
        narrow.push_back(static_cast<char>(c));
    return narrow;
}

struct IntCase
{
    Spec spec;
    int32_t value;
    bool isUnsigned;
    const char* expected;
};

const IntCase kInts[] = {
    {{"", 0, 0, 1, 0}, -1, false, "ffffffff"},
    {{"U", 0, 0, 1, 0}, -1, false, "FFFFFFFF"},
    {{"", 0, 0, 3, 0}, -1, false, "11111111111111111111111111111111"},
    {{"", 0, 0, 3, 0}, 5, false, "101"},
    {{"#0U", 8, 0, 1, 0}, 255, false, "0X0000FF"},
    {{"#0", 4, 0, 1, 0}, 255, false, "0xff"},
    {{"#", 6, 0, 1, 0}, 255, false, "  0xff"},
    {{" 0", 5, 0, 0, 0}, 42, false, "00 42"},
    {{"+0", 5, 0, 0, 0}, 42, false, "+0042"},
    {{"0-", 5, 0, 0, 0}, 42, false, "00042"},
    {{"0", 5, 0, 0, 0}, -42, false, "-0042"},
    {{"=", 6, 0, 0, 0}, 42, false, "  42  "},
    {{"=", 5, 0, 0, 0}, 42, false, " 42  "},
    {{"-", 5, 0, 0, 0}, -42, false, "-42  "},
    {{"", 0, 0, 0, 0}, std::numeric_limits<int32_t>::min(), false, "-2147483648"},
    {{"", 0, 0, 1, 0}, std::numeric_limits<int32_t>::min(), false, "80000000"},
    {{"#", 0, 0, 2, 0}, 0, false, "00"},
    {{"#", 0, 0, 2, 0}, 8, false, "010"},
    {{"+ ", 0, 0, 0, 0}, 7, false, "+7"},
    {{" ", 0, 0, 0, 0}, 7, false, " 7"},
    {{"", 0, 0, 0, 0}, 0, false, "0"},
    {{"+ ", 4, 0, 0, 0}, 7, true, "   7"},
    {{"0", 4, 0, 0, 0}, -1, true, "4294967295"},
    {{"+", 0, 0, 1, 0}, 26, true, "1a"},
};

TEST(NumberWritersTest, Integers)
{
    for (const IntCase& c : kInts)
    {
        SCOPED_TRACE(std::string("flags '") + c.spec.flags + "' value " + std::to_string(c.value));
        const auto write = [&c](auto& spec) {
            if (c.isUnsigned)
                spec.WriteUInt(static_cast<uint32_t>(c.value));
            else
                spec.WriteInt(c.value);
        };
        EXPECT_EQ(Written<char>(c.spec, write), c.expected);
        EXPECT_EQ(Written<wchar_t>(c.spec, write), c.expected);
    }
}

struct FloatCase
{
    Spec spec;
    float value;
    const char* expected;
};

const FloatCase kFloats[] = {
    {{"", 0, 0, 0, 0}, 100.0f, "100"},
    {{"", 0, 0, 0, 0}, 0.5f, "0.5"},
    {{"", 0, 0, 0, 0}, 1e6f, "1e+006"},
    {{"U", 0, 0, 0, 0}, 1e6f, "1E+006"},
    {{"", 0, 0, 0, 0}, 123.456f, "123.456"},
    {{"", 0, 0, 0, 0}, 25.0f, "25"},
    {{"", 0, 0, 0, 0}, 99.99996f, "100"},
    {{"", 0, 0, 0, 0}, 9.9999995f, "10"},
    {{"", 0, 0, 0, 0}, 0.0001f, "0.0001"},
    {{"", 0, 0, 0, 0}, 0.00001f, "1e-005"},
    {{"", 0, 0, 0, 0}, 12345678.0f, "1.23457e+007"},
    {{"", 0, 0, 0, 0}, 123456.0f, "123456"},
    {{"", 0, 0, 0, 0}, 1234567.0f, "1.23457e+006"},
    {{"", 0, 0, 0, 0}, -0.0f, "0"},
    {{"+", 0, 0, 0, 0}, 0.0f, "0"},
    {{"+", 0, 0, 0, 0}, 2.5f, "+2.5"},
    {{" ", 0, 0, 0, 0}, 2.5f, " 2.5"},
    {{"", 0, 3, 0, 0}, 3.14159f, "3.14"},
    {{"", 0, 0, 1, 1}, 1.5f, "1.500000e+000"},
    {{"", 0, 0, 0, 1}, 0.01f, "10.000000e-003"},
    {{"", 0, 0, 0, 1}, 0.0f, "0.000000e+000"},
    {{"U", 0, 2, 0, 1}, -12345.0f, "-1.23E+004"},
    {{"", 0, 0, 0, 2}, 2.25f, "2.250000"},
    {{"", 0, 0, 0, 2}, -2.5f, "-2.500000"},
    {{"", 0, 0, 0, 2}, -0.0f, "0.000000"},
    {{"", 0, 6, 0, 2}, 2.25f, "2.250000"},
    {{"", 0, 9, 0, 2}, 2.25f, "2.2500000"},
    {{"", 0, 1, 0, 2}, 2.25f, "2.2"}, // 2.25 + 0.05 is 2.2999... in double
    {{"", 0, 2, 0, 2}, 0.125f, "0.13"},
    {{"", 0, 0, 0, 2}, 1e30f, "1000000015047466219876688855040.000000"},
    {{"", 0, 0, 0, 2}, 1e19f, "9999999980506447872.000000"},
    {{"", 0, 0, 0, 2}, std::numeric_limits<float>::infinity(), "+INF"},
    {{"", 0, 0, 0, 0}, -std::numeric_limits<float>::infinity(), "-INF"},
    {{"+", 0, 0, 0, 1}, std::numeric_limits<float>::quiet_NaN(), "NaN"},
    {{"0", 8, 0, 0, 0}, 2.5f, "     2.5"},
    {{"0-", 8, 2, 0, 2}, -1.0f, "-1.00   "},
    {{"=", 7, 0, 0, 0}, 2.5f, "  2.5  "},
    {{"", 0, 0, 0, 0}, std::numeric_limits<float>::max(), "3.40282e+038"},
    {{"", 0, 0, 0, 0}, std::numeric_limits<float>::denorm_min(), "1.4013e-045"},
};

TEST(NumberWritersTest, Floats)
{
    for (const FloatCase& c : kFloats)
    {
        SCOPED_TRACE(std::string("flags '") + c.spec.flags + "' style " + std::to_string(c.spec.style) + " value " +
                     std::to_string(c.value));
        const auto write = [&c](auto& spec) { spec.WriteFloat(c.value); };
        EXPECT_EQ(Written<char>(c.spec, write), c.expected);
        EXPECT_EQ(Written<wchar_t>(c.spec, write), c.expected);
    }
}

TEST(NumberWritersTest, StandaloneSpecOwnsItsTextAndAppends)
{
    base::FormatSpec spec(0, 0);
    spec.WriteInt(3);
    spec.WriteText(L"/");
    spec.WriteUInt(12u);
    spec.WriteText(L"abc", 2);
    EXPECT_EQ(spec.GetText(), L"3/12ab");
}
} // namespace
