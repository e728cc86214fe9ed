#include "Platform/D3DX9/SourceRewrite.h"

#include <algorithm>
#include <cctype>

namespace d3dx9 {

namespace {

bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A cursor over the source that matches one declaration or gives up.
class Matcher
{
public:
    Matcher(const std::string& text, size_t pos) : text_(text), pos_(pos) {}

    size_t Pos() const { return pos_; }
    void SkipSpace()
    {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
    }
    bool Ident(std::string& out)
    {
        SkipSpace();
        if (pos_ >= text_.size() || !IdentStart(text_[pos_]))
            return false;
        const size_t start = pos_;
        while (pos_ < text_.size() && IdentChar(text_[pos_]))
            ++pos_;
        out = text_.substr(start, pos_ - start);
        return true;
    }
    bool Word(const char* word)
    {
        const size_t saved = pos_;
        std::string ident;
        if (Ident(ident) && ident == word)
            return true;
        pos_ = saved;
        return false;
    }
    bool Char(char c)
    {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == c)
        {
            ++pos_;
            return true;
        }
        return false;
    }
    // Past the brace that closes the one just read.
    bool SkipBlock()
    {
        int depth = 1;
        while (pos_ < text_.size() && depth > 0)
        {
            if (text_[pos_] == '{')
                ++depth;
            else if (text_[pos_] == '}')
                --depth;
            ++pos_;
        }
        return depth == 0;
    }

private:
    const std::string& text_;
    size_t pos_;
};

// `texture <name>;` at pos: the end of the match, or npos.
size_t MatchTexture(const std::string& text, size_t pos)
{
    Matcher m(text, pos);
    std::string name;
    if (!m.Word("texture") || !m.Ident(name) || !m.Char(';'))
        return std::string::npos;
    return m.Pos();
}

// A sampler_state sampler at pos: the end of the match and its replacement.
size_t MatchSampler(const std::string& text, size_t pos, std::string& replacement)
{
    Matcher m(text, pos);
    if (!m.Word("sampler") && !m.Word("sampler2D"))
        return std::string::npos;
    std::string name;
    if (!m.Ident(name))
        return std::string::npos;
    std::string reg;
    const size_t beforeRegister = m.Pos();
    if (m.Char(':'))
    {
        std::string slot;
        if (!m.Word("register") || !m.Char('(') || !m.Ident(slot) || !m.Char(')'))
            return std::string::npos;
        reg = text.substr(beforeRegister, m.Pos() - beforeRegister);
        reg.erase(std::remove(reg.begin(), reg.end(), '\n'), reg.end());
    }
    if (!m.Char('=') || !m.Word("sampler_state") || !m.Char('{') || !m.SkipBlock() ||
        !m.Char(';'))
        return std::string::npos;
    replacement = "sampler2D " + name + reg + ";";
    return m.Pos();
}

} // namespace

std::string RewriteEffectDeclarations(const std::string& source)
{
    std::string out;
    out.reserve(source.size());
    size_t pos = 0;
    bool wordStart = true;
    while (pos < source.size())
    {
        const char c = source[pos];
        // Comments and strings pass through untouched.
        if (c == '/' && pos + 1 < source.size() && (source[pos + 1] == '/' || source[pos + 1] == '*'))
        {
            const bool line = source[pos + 1] == '/';
            size_t end = line ? source.find('\n', pos) : source.find("*/", pos + 2);
            end = end == std::string::npos ? source.size() : (line ? end : end + 2);
            out.append(source, pos, end - pos);
            pos = end;
            wordStart = true;
            continue;
        }
        if (c == '"')
        {
            size_t end = pos + 1;
            while (end < source.size() && source[end] != '"' && source[end] != '\n')
                end += source[end] == '\\' ? 2 : 1;
            end = std::min(end + 1, source.size());
            out.append(source, pos, end - pos);
            pos = end;
            wordStart = true;
            continue;
        }
        if (wordStart && IdentStart(c))
        {
            std::string replacement;
            size_t end = MatchTexture(source, pos);
            if (end == std::string::npos)
                end = MatchSampler(source, pos, replacement);
            if (end != std::string::npos)
            {
                out += replacement;
                out.append(size_t(std::count(source.begin() + long(pos), source.begin() + long(end), '\n')),
                           '\n');
                pos = end;
                continue;
            }
        }
        wordStart = !IdentChar(c);
        out += c;
        ++pos;
    }
    return out;
}

} // namespace d3dx9
