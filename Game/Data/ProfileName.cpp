#include "Game/Data/ProfileName.h"

#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"

namespace profilename
{
namespace
{
// The Cyrillic letters of a name are the two-byte UTF-8 sequences D0 90 to
// D1 8F. No other sequence, valid or not, holds a name character, and no
// continuation byte is one, so skipping a byte at a time never misreads.
constexpr unsigned char kCyrillicLead0 = 0xD0;
constexpr unsigned char kCyrillicLead1 = 0xD1;
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuation = 0x80;
constexpr unsigned char kAscii = 0x80;
} // namespace

bool IsNameCharacter(int ch)
{
    return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
           (ch >= 0x0410 && ch <= 0x044F);
}

std::string Fit(std::string_view name)
{
    static const std::string placeholder = base::ToNarrow(file::Profiles::kDefaultProfileName, 1);
    if (name == placeholder)
        return placeholder;
    std::string fitted;
    size_t characters = 0;
    for (size_t i = 0; i < name.size() && characters < kMaxLength; ++i)
    {
        const auto lead = static_cast<unsigned char>(name[i]);
        if (lead < kAscii)
        {
            if (IsNameCharacter(lead))
            {
                fitted.push_back(char(lead));
                ++characters;
            }
            continue;
        }
        if ((lead != kCyrillicLead0 && lead != kCyrillicLead1) || i + 1 >= name.size())
            continue;
        const auto next = static_cast<unsigned char>(name[i + 1]);
        if ((next & kContinuationMask) != kContinuation)
            continue;
        const int ch = ((lead & 0x1F) << 6) | (next & 0x3F);
        ++i;
        if (IsNameCharacter(ch))
        {
            fitted.append(name.substr(i - 1, 2));
            ++characters;
        }
    }
    return fitted;
}
} // namespace profilename
