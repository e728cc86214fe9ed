#pragma once

// Every lookup of content that found nothing, and the few a run expects.
#include "Core/Base/LookupMiss.h"

#include <functional>
#include <string>
#include <vector>

namespace playthrough
{
struct AllowedMiss
{
    base::LookupMissKind kind;
    // Exact name, or a prefix when it ends in '*'.
    std::wstring name;
    const char* reason;
};

// A family of expected misses the content itself describes.
struct AllowedMissRule
{
    base::LookupMissKind kind;
    std::function<bool(const std::wstring& name)> matches;
    const char* reason;
};

struct Miss
{
    base::LookupMissKind kind;
    std::wstring name;
    int turn = 0;
};

class MissLog
{
public:
    explicit MissLog(std::vector<AllowedMiss> allowed, std::vector<AllowedMissRule> rules = {})
        : mAllowed(std::move(allowed)), mRules(std::move(rules))
    {
    }

    void Record(base::LookupMissKind kind, const std::wstring& name, int turn);
    bool IsAllowed(base::LookupMissKind kind, const std::wstring& name) const;
    const std::vector<Miss>& All() const { return mMisses; }
    std::vector<Miss> Unexpected() const;
    // One line per miss: turn, kind, name, and "allowed" where it is.
    std::string Describe() const;

private:
    std::vector<AllowedMiss> mAllowed;
    std::vector<AllowedMissRule> mRules;
    std::vector<Miss> mMisses;
};
} // namespace playthrough
