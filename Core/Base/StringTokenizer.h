#pragma once

// Splitting a text at one delimiter character, the way the data sheets are
// read: lines at '\n' skipping empty ones, cells at ';' keeping them.
#include <string>

namespace base
{
template <class Char>
class BasicStringTokenizer
{
public:
    using String = std::basic_string<Char>;

    // The text is trimmed of blanks and tabs first.
    BasicStringTokenizer(const String& text, Char delimiter, bool skipEmpty);

    // Takes the next token, trimmed; false when none is left.
    bool Next();
    bool Next(String& token);
    // Counted once; the read position stays where it was.
    int CountTokens();
    // atoi / atof of the next token; the value is unchanged when none is left.
    BasicStringTokenizer& NextInt(int& value);
    BasicStringTokenizer& NextFloat(float& value);

private:
    static constexpr size_t kFinished = static_cast<size_t>(-1);

    bool Take(String* token);

    String mText;
    Char mDelimiter;
    size_t mPosition = 0;
    bool mSkipEmpty;
    int mCount = -1;
};

using StringTokenizer = BasicStringTokenizer<char>;
using WStringTokenizer = BasicStringTokenizer<wchar_t>;

// Leading and trailing blanks and tabs removed in place; '\r' and '\n' stay.
void TrimBlanks(std::string& text);
void TrimBlanksW(std::wstring& text);
// Appends to dest every character of source but c.
void RemoveChar(const std::string& source, char c, std::string& dest);

extern template class BasicStringTokenizer<char>;
extern template class BasicStringTokenizer<wchar_t>;
} // namespace base
