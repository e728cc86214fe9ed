#pragma once

// The printf-like text builder: fed one argument at a time with %, each
// written under the specification the format holds for it. The argument's
// own type decides how it is written; the conversion letter only picks the
// base, the float style and the letter case. Format is wide, FormatA narrow.
#include "Core/Base/FormatSpec.h"

#include <cstdint>
#include <string>

namespace base
{
template <class Char>
class BasicFormat
{
public:
    using String = std::basic_string<Char>;

    // Without a format text every argument is appended under a cleared
    // specification (ints in plain decimal, floats in the general style).
    BasicFormat();
    explicit BasicFormat(const Char* format);
    explicit BasicFormat(const String& format);
    BasicFormat(const BasicFormat&) = delete;
    BasicFormat& operator=(const BasicFormat&) = delete;

    BasicFormat& operator%(int32_t value);
    BasicFormat& operator%(uint32_t value);
    BasicFormat& operator%(float value);
    BasicFormat& operator%(const Char* text); // null counts as empty
    BasicFormat& operator%(const String& text);
    // 64-bit and double arguments would convert silently: callers cast.
    BasicFormat& operator%(long) = delete;
    BasicFormat& operator%(unsigned long) = delete;
    BasicFormat& operator%(long long) = delete;
    BasicFormat& operator%(unsigned long long) = delete;
    BasicFormat& operator%(double) = delete;

    // Copies the rest of the format text unparsed; finishing again adds nothing.
    void Finish();
    // Finishes, then hands out the text.
    const String& GetText();
    bool IsDone() const { return mDone; }

private:
    template <class Write>
    BasicFormat& Bind(Write write);

    String mOutput;
    BasicFormatSpec<Char> mSpec;
    String mFormat;
    size_t mPosition = 0;
    bool mDone = false;
    bool mFree = false; // built without a format text
};

using Format = BasicFormat<wchar_t>;
using FormatA = BasicFormat<char>;

extern template class BasicFormat<char>;
extern template class BasicFormat<wchar_t>;
} // namespace base
