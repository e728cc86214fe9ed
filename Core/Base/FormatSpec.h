#pragma once

// The state of one format specification and the writers that append one
// argument under it. FormatSpec writes wide text, FormatSpecA narrow text.
#include <cstddef>
#include <cstdint>
#include <string>

namespace base
{
// The fields shared by both text kinds; the handler table writes these.
struct FormatState
{
    uint32_t mWidth = 0;
    uint32_t mPrecision = 0; // floats only; 0 means 6, above 7 means 7
    bool mZero = false;
    bool mPlus = false;
    bool mSpace = false;
    bool mUpper = false;
    bool mAlternate = false;
    int mFloatStyle = 0; // 0 general, 1 exponent, 2 fixed
    int mAlignment = 0;  // 0 right, 1 left, 2 centre
    int mBase = 0;       // 0 decimal, 1 hexadecimal, 2 octal, 3 binary

    void Clear() { *this = FormatState(); }
};

template <class Char>
class BasicFormatSpec : public FormatState
{
public:
    using String = std::basic_string<Char>;

    // Writes into a formatter's string.
    explicit BasicFormatSpec(String* output) : mOutput(output) {}
    // Stands alone and owns its output, which starts empty.
    BasicFormatSpec(uint32_t width, uint32_t precision) : mOutput(&mOwnOutput)
    {
        mWidth = width;
        mPrecision = precision;
    }
    BasicFormatSpec(const BasicFormatSpec&) = delete;
    BasicFormatSpec& operator=(const BasicFormatSpec&) = delete;

    // A text padded to the width; the precision never shortens it.
    void WriteText(const Char* text, size_t length);
    void WriteText(const Char* text);
    void WriteInt(int32_t value);
    void WriteUInt(uint32_t value);
    void WriteFloat(float value);

    const String& GetText() const { return *mOutput; }

    String* mOutput;

private:
    // Appends with the padding of the width; zeroPad is the integer rule.
    void AppendPadded(const Char* text, size_t length, bool zeroPad);
    void WriteInteger(uint32_t digits, bool isSigned, bool negative);

    String mOwnOutput;
};

using FormatSpec = BasicFormatSpec<wchar_t>;
using FormatSpecA = BasicFormatSpec<char>;

extern template class BasicFormatSpec<char>;
extern template class BasicFormatSpec<wchar_t>;
} // namespace base
