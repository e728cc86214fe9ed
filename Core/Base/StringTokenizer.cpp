#include "Core/Base/StringTokenizer.h"

#include <cstdlib>
#include <cwchar>

namespace base
{
namespace
{
template <class Char>
void Trim(std::basic_string<Char>& text)
{
    const Char blanks[] = {Char(' '), Char('\t'), Char(0)};
    const auto first = text.find_first_not_of(blanks);
    if (first == std::basic_string<Char>::npos)
    {
        text.clear();
        return;
    }
    const auto last = text.find_last_not_of(blanks);
    text.erase(last + 1);
    text.erase(0, first);
}

bool IsBlankOnly(const std::string& text, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i)
        if (text[i] != ' ' && text[i] != '\t')
            return false;
    return true;
}

bool IsBlankOnly(const std::wstring& text, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i)
        if (text[i] != L' ' && text[i] != L'\t')
            return false;
    return true;
}

// The runtime's atoi / atof, in the "C" locale the process keeps.
int ToInt(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }
int ToInt(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }
float ToFloat(const std::string& text) { return static_cast<float>(std::strtod(text.c_str(), nullptr)); }
float ToFloat(const std::wstring& text) { return static_cast<float>(std::wcstod(text.c_str(), nullptr)); }
} // namespace

void TrimBlanks(std::string& text) { Trim(text); }

void TrimBlanksW(std::wstring& text) { Trim(text); }

void RemoveChar(const std::string& source, char c, std::string& dest)
{
    for (char s : source)
        if (s != c)
            dest.push_back(s);
}

template <class Char>
BasicStringTokenizer<Char>::BasicStringTokenizer(const String& text, Char delimiter, bool skipEmpty)
    : mText(text), mDelimiter(delimiter), mSkipEmpty(skipEmpty)
{
    Trim(mText);
}

template <class Char>
bool BasicStringTokenizer<Char>::Take(String* token)
{
    for (;;)
    {
        if (mPosition == kFinished)
            return false;
        const size_t delimiter = mText.find(mDelimiter, mPosition);
        const size_t end = delimiter == String::npos ? mText.size() : delimiter;
        bool empty;
        if (token != nullptr)
        {
            token->assign(mText, mPosition, end - mPosition);
            Trim(*token);
            empty = token->empty();
        }
        else
            empty = IsBlankOnly(mText, mPosition, end);
        mPosition = delimiter == String::npos ? kFinished : delimiter + 1;
        if (!(mSkipEmpty && empty))
            return true;
    }
}

template <class Char>
bool BasicStringTokenizer<Char>::Next()
{
    return Take(nullptr);
}

template <class Char>
bool BasicStringTokenizer<Char>::Next(String& token)
{
    return Take(&token);
}

template <class Char>
int BasicStringTokenizer<Char>::CountTokens()
{
    if (mCount >= 0)
        return mCount;
    if (!mSkipEmpty)
    {
        int delimiters = 0;
        for (Char c : mText)
            if (c == mDelimiter)
                ++delimiters;
        mCount = delimiters + 1;
        return mCount;
    }
    const size_t saved = mPosition;
    mPosition = 0;
    int count = 0;
    while (Take(nullptr))
        ++count;
    mPosition = saved;
    mCount = count;
    return mCount;
}

template <class Char>
BasicStringTokenizer<Char>& BasicStringTokenizer<Char>::NextInt(int& value)
{
    String token;
    if (Take(&token))
        value = ToInt(token);
    return *this;
}

template <class Char>
BasicStringTokenizer<Char>& BasicStringTokenizer<Char>::NextFloat(float& value)
{
    String token;
    if (Take(&token))
        value = ToFloat(token);
    return *this;
}

template class BasicStringTokenizer<char>;
template class BasicStringTokenizer<wchar_t>;
} // namespace base
