#include "Core/File/PackNameText.h"

namespace file
{
namespace
{
// A value no UTF-16 unit sequence can carry is written as U+FFFD.
char32_t Storable(wchar_t c)
{
    const auto cp = static_cast<char32_t>(c);
    return cp > 0x10FFFF ? char32_t(0xFFFD) : cp;
}

// Walks a wide name as the UTF-16 units it is written with.
class UnitReader
{
public:
    explicit UnitReader(const std::wstring& s) : m_s(s) {}

    bool Next(char16_t& unit)
    {
        if (m_low)
        {
            unit = m_low;
            m_low = 0;
            return true;
        }
        if (m_i >= m_s.size())
            return false;
        const char32_t cp = Storable(m_s[m_i++]);
        if (cp >= 0x10000)
        {
            unit = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            m_low = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
        else
        {
            unit = static_cast<char16_t>(cp);
        }
        return true;
    }

private:
    const std::wstring& m_s;
    size_t m_i = 0;
    char16_t m_low = 0;
};
}

std::u16string ToPackUnits(const std::wstring& name)
{
    std::u16string out;
    out.reserve(name.size());
    UnitReader reader(name);
    char16_t unit;
    while (reader.Next(unit))
        out.push_back(unit);
    return out;
}

std::wstring FromPackUnits(const std::u16string& units)
{
    std::wstring out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i)
    {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
        {
            const char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00);
            out.push_back(static_cast<wchar_t>(cp));
            ++i;
        }
        else
        {
            out.push_back(static_cast<wchar_t>(u));
        }
    }
    return out;
}

bool PackNameLess::operator()(const std::wstring& a, const std::wstring& b) const
{
    UnitReader ra(a);
    UnitReader rb(b);
    for (;;)
    {
        char16_t ua = 0;
        char16_t ub = 0;
        const bool ha = ra.Next(ua);
        const bool hb = rb.Next(ub);
        if (!ha || !hb)
            return !ha && hb;
        if (ua != ub)
            return ua < ub;
    }
}
}
