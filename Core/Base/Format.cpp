#include "Core/Base/Format.h"

#include "Core/Base/FormatParser.h"

namespace base
{
template <class Char>
BasicFormat<Char>::BasicFormat() : mSpec(&mOutput), mFree(true)
{
}

template <class Char>
BasicFormat<Char>::BasicFormat(const Char* format) : BasicFormat(String(format != nullptr ? format : String()))
{
}

template <class Char>
BasicFormat<Char>::BasicFormat(const String& format) : mSpec(&mOutput), mFormat(format)
{
    mDone = ParseFormat(mFormat, mPosition, mSpec, mOutput);
}

template <class Char>
template <class Write>
BasicFormat<Char>& BasicFormat<Char>::Bind(Write write)
{
    if (mFree)
    {
        mSpec.Clear();
        write(mSpec);
    }
    else if (!mDone)
    {
        write(mSpec);
        mDone = ParseFormat(mFormat, mPosition, mSpec, mOutput);
    }
    return *this;
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::operator%(int32_t value)
{
    return Bind([value](BasicFormatSpec<Char>& spec) { spec.WriteInt(value); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::operator%(uint32_t value)
{
    return Bind([value](BasicFormatSpec<Char>& spec) { spec.WriteUInt(value); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::operator%(float value)
{
    return Bind([value](BasicFormatSpec<Char>& spec) { spec.WriteFloat(value); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::operator%(const Char* text)
{
    const Char empty[] = {Char(0)};
    const Char* t = text != nullptr ? text : empty;
    return Bind([t](BasicFormatSpec<Char>& spec) { spec.WriteText(t); });
}

template <class Char>
BasicFormat<Char>& BasicFormat<Char>::operator%(const String& text)
{
    return Bind([&text](BasicFormatSpec<Char>& spec) { spec.WriteText(text.data(), text.size()); });
}

template <class Char>
void BasicFormat<Char>::Finish()
{
    if (mPosition < mFormat.size())
        mOutput.append(mFormat, mPosition, String::npos);
    mPosition = mFormat.size();
    mDone = true;
}

template <class Char>
const typename BasicFormat<Char>::String& BasicFormat<Char>::GetText()
{
    Finish();
    return mOutput;
}

template class BasicFormat<char>;
template class BasicFormat<wchar_t>;
} // namespace base
