#include "Core/Base/FormatSpec.h"

namespace base
{
template <class Char>
void BasicFormatSpec<Char>::WriteText(const Char* text, size_t length)
{
    AppendPadded(text, length, false);
}

template <class Char>
void BasicFormatSpec<Char>::WriteText(const Char* text)
{
    AppendPadded(text, std::char_traits<Char>::length(text), false);
}

template <class Char>
void BasicFormatSpec<Char>::AppendPadded(const Char* text, size_t length, bool zeroPad)
{
    String& out = *mOutput;
    if (length >= mWidth)
    {
        out.append(text, length);
        return;
    }
    const size_t pad = mWidth - length;
    if (zeroPad)
    {
        // Zeros go after a sign or a "0x", before everything else (a blank
        // from the space flag included).
        size_t head = 0;
        if (text[0] == Char('+') || text[0] == Char('-'))
            head = 1;
        else if (length > 2 && text[0] == Char('0') && (text[1] == Char('x') || text[1] == Char('X')))
            head = 2;
        out.append(text, head);
        out.append(pad, Char('0'));
        out.append(text + head, length - head);
        return;
    }
    switch (mAlignment)
    {
    case 1:
        out.append(text, length);
        out.append(pad, Char(' '));
        break;
    case 2:
        out.append(pad / 2, Char(' '));
        out.append(text, length);
        out.append(pad - pad / 2, Char(' '));
        break;
    default:
        out.append(pad, Char(' '));
        out.append(text, length);
        break;
    }
}

template class BasicFormatSpec<char>;
template class BasicFormatSpec<wchar_t>;
} // namespace base
