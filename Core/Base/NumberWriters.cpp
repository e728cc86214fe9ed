// The number writers of the format specification: integers in four bases
// and floats in three styles, all digits built in a fixed local buffer.
#include "Core/Base/FormatSpec.h"
#include "Core/Math/MathFunctions.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace base
{
namespace
{
template <class Char>
class Digits
{
public:
    void Put(char c) { mText[mLength++] = Char(c); }
    void Put(const char* text)
    {
        while (*text != '\0')
            Put(*text++);
    }
    // A non-negative integer in decimal.
    void PutDecimal(uint64_t value)
    {
        char reversed[24];
        int n = 0;
        do
        {
            reversed[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (n > 0)
            Put(reversed[--n]);
    }
    const Char* Text() const { return mText; }
    size_t Length() const { return mLength; }

private:
    Char mText[256];
    size_t mLength = 0;
};

// The integer part of r, '.', then places digits taken one at a time from
// the fraction (truncated, no further rounding).
template <class Char>
void PutFixedDigits(Digits<Char>& out, double r, int places)
{
    const double whole = math::Floor(r);
    if (whole < 18446744073709551616.0)
        out.PutDecimal(static_cast<uint64_t>(whole));
    else
    {
        // Past 2^64 the unsigned conversion is undefined: write the exact digits.
        char text[64];
        const auto result = std::to_chars(text, text + sizeof text, whole, std::chars_format::fixed, 0);
        *result.ptr = '\0';
        out.Put(text);
    }
    out.Put('.');
    double fraction = r - whole;
    for (int i = 0; i < places; ++i)
    {
        fraction *= 10.0;
        int digit = static_cast<int>(fraction);
        if (digit > 9)
            digit = 9;
        out.Put(static_cast<char>('0' + digit));
        fraction -= digit;
    }
}

template <class Char>
void PutExponent(Digits<Char>& out, int exponent, bool upper)
{
    out.Put(upper ? 'E' : 'e');
    out.Put(exponent < 0 ? '-' : '+');
    const int magnitude = std::abs(exponent);
    out.Put(static_cast<char>('0' + magnitude / 100 % 10));
    out.Put(static_cast<char>('0' + magnitude / 10 % 10));
    out.Put(static_cast<char>('0' + magnitude % 10));
}

// The decimal exponent of a > 0: the integer part of log10, less one below 1.
int DecimalExponent(double a)
{
    int e = static_cast<int>(math::Log10(a));
    if (a < 1.0)
        --e;
    return e;
}

template <class Char>
void PutGeneral(Digits<Char>& out, double a, int places, bool upper)
{
    const int e0 = DecimalExponent(a);
    const double scaled = (a + 5.0 * math::Pow(10.0, e0 - places)) * math::Pow(10.0, places - e0 - 1);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<uint64_t>(scaled)).ptr;
    int count = static_cast<int>(end - digits);
    int e = e0;
    if (count > places)
    {
        // Rounding carried into a new leading digit.
        --count;
        e = e0 + 1;
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;
    if (e < -4 || e >= places)
    {
        out.Put(digits[0]);
        if (count > 1)
        {
            out.Put('.');
            for (int i = 1; i < count; ++i)
                out.Put(digits[i]);
        }
        PutExponent(out, e, upper);
    }
    else if (e < 0)
    {
        out.Put("0.");
        for (int i = 0; i < -e - 1; ++i)
            out.Put('0');
        for (int i = 0; i < count; ++i)
            out.Put(digits[i]);
    }
    else
    {
        for (int i = 0; i <= e; ++i)
            out.Put(i < count ? digits[i] : '0');
        if (count > e + 1)
        {
            out.Put('.');
            for (int i = e + 1; i < count; ++i)
                out.Put(digits[i]);
        }
    }
}
} // namespace

template <class Char>
void BasicFormatSpec<Char>::WriteInteger(uint32_t value, bool isSigned, bool negative)
{
    // Digits least significant first, then reversed into the buffer.
    static const char lower[] = "0123456789abcdef";
    static const char upper[] = "0123456789ABCDEF";
    char reversed[40];
    int n = 0;
    const uint32_t radix = mBase == 1 ? 16 : mBase == 2 ? 8 : mBase == 3 ? 2 : 10;
    const char* alphabet = mUpper ? upper : lower;
    do
    {
        reversed[n++] = alphabet[value % radix];
        value /= radix;
    } while (value != 0);

    Digits<Char> text;
    if (mBase == 0 && isSigned)
    {
        if (negative)
            text.Put('-');
        else if (mPlus)
            text.Put('+');
        else if (mSpace)
            text.Put(' ');
    }
    else if (mBase == 1 && mAlternate)
        text.Put(mUpper ? "0X" : "0x");
    else if (mBase == 2 && mAlternate)
        text.Put('0');
    while (n > 0)
        text.Put(reversed[--n]);
    AppendPadded(text.Text(), text.Length(), mZero);
}

template <class Char>
void BasicFormatSpec<Char>::WriteInt(int32_t value)
{
    const bool negative = value < 0;
    // The most negative value has no positive twin: take the magnitude unsigned.
    const uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    WriteInteger(mBase == 0 ? magnitude : static_cast<uint32_t>(value), true, negative);
}

template <class Char>
void BasicFormatSpec<Char>::WriteUInt(uint32_t value)
{
    WriteInteger(value, false, false);
}

template <class Char>
void BasicFormatSpec<Char>::WriteFloat(float value)
{
    const int places = mPrecision == 0 ? 6 : mPrecision > 7 ? 7 : static_cast<int>(mPrecision);
    Digits<Char> text;
    if (std::isnan(value))
        text.Put("NaN");
    else if (std::isinf(value))
        text.Put(value < 0 ? "-INF" : "+INF");
    else
    {
        const double v = value;
        if (v == 0.0)
        {
            if (mFloatStyle == 0)
                text.Put('0');
            else
            {
                text.Put("0.");
                for (int i = 0; i < places; ++i)
                    text.Put('0');
                if (mFloatStyle == 1)
                    PutExponent(text, 0, mUpper);
            }
        }
        else
        {
            if (v < 0)
                text.Put('-');
            else if (mPlus)
                text.Put('+');
            else if (mSpace)
                text.Put(' ');
            const double a = std::fabs(v);
            if (mFloatStyle == 2)
                PutFixedDigits(text, a + 0.5 * math::Pow(10.0, -places), places);
            else if (mFloatStyle == 1)
            {
                const int e = DecimalExponent(a);
                PutFixedDigits(text, a * math::Pow(0.1, e) + 0.5 * math::Pow(0.1, places), places);
                PutExponent(text, e, mUpper);
            }
            else
                PutGeneral(text, a, places, mUpper);
        }
    }
    AppendPadded(text.Text(), text.Length(), false);
}

template void BasicFormatSpec<char>::WriteInteger(uint32_t, bool, bool);
template void BasicFormatSpec<char>::WriteInt(int32_t);
template void BasicFormatSpec<char>::WriteUInt(uint32_t);
template void BasicFormatSpec<char>::WriteFloat(float);
template void BasicFormatSpec<wchar_t>::WriteInteger(uint32_t, bool, bool);
template void BasicFormatSpec<wchar_t>::WriteInt(int32_t);
template void BasicFormatSpec<wchar_t>::WriteUInt(uint32_t);
template void BasicFormatSpec<wchar_t>::WriteFloat(float);
} // namespace base
