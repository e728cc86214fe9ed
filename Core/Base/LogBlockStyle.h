#pragma once

// The div an entry is wrapped in on HTML outputs.
#include <string>

namespace base
{
class LogBlockStyle
{
public:
    // Class name empty: the style of ordinary entries.
    LogBlockStyle();
    explicit LogBlockStyle(const std::wstring& className);
    // Class "block": resource and shader warnings.
    static const LogBlockStyle& Block();

    std::wstring mPrefix;
    std::wstring mSuffix;
};
} // namespace base
