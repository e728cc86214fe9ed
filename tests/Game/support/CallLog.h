#pragma once

// One log shared by the recording doubles (HUD, tutorial, windows): every
// call with the running level's screen state and speed at that moment.
#include <string>
#include <vector>

namespace gametest
{
struct LoggedCall
{
    // "Who.What arguments", e.g. "HUD.ShowUnlockMessage 36,37,38".
    std::string call;
    // Of the running level when the call came; -100 and -1 without one.
    int state = -100;
    float speed = -1.0f;
};

std::vector<LoggedCall>& CallLog();
void LogCall(const std::string& call);
// The calls that start with the prefix, in order.
std::vector<LoggedCall> CallsStarting(const std::string& prefix);
// How many calls start with the prefix.
int CountCalls(const std::string& prefix);
// The narrow form of a wide text (ASCII in tests).
std::string Narrow(const std::wstring& text);
} // namespace gametest
