#include "Misses.h"

#include "Core/Base/TextEncoding.h"

namespace playthrough
{
void MissLog::Record(base::LookupMissKind kind, const std::wstring& name, int turn)
{
    mMisses.push_back({kind, name, turn});
}

bool MissLog::IsAllowed(base::LookupMissKind kind, const std::wstring& name) const
{
    for (const AllowedMiss& allowed : mAllowed)
    {
        if (allowed.kind != kind)
            continue;
        const bool prefix = !allowed.name.empty() && allowed.name.back() == L'*';
        if (prefix ? name.compare(0, allowed.name.size() - 1, allowed.name, 0, allowed.name.size() - 1) == 0
                   : name == allowed.name)
            return true;
    }
    for (const AllowedMissRule& rule : mRules)
        if (rule.kind == kind && rule.matches(name))
            return true;
    return false;
}

std::vector<Miss> MissLog::Unexpected() const
{
    std::vector<Miss> out;
    for (const Miss& miss : mMisses)
        if (!IsAllowed(miss.kind, miss.name))
            out.push_back(miss);
    return out;
}

std::string MissLog::Describe() const
{
    std::string out;
    for (const Miss& miss : mMisses)
        out += std::to_string(miss.turn) + "\t" + base::WideToUtf8(base::LookupMissKindName(miss.kind)) + "\t" +
               base::WideToUtf8(miss.name) + (IsAllowed(miss.kind, miss.name) ? "\tallowed" : "") + "\n";
    return out;
}
} // namespace playthrough
