#include "CallLog.h"

#include "Core/Base/TextEncoding.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"

namespace gametest
{
std::vector<LoggedCall>& CallLog()
{
    static std::vector<LoggedCall> log;
    return log;
}

void LogCall(const std::string& call)
{
    LoggedCall entry;
    entry.call = call;
    if (const NQMap* map = Game::GetMap())
    {
        entry.state = map->mScreenState;
        entry.speed = map->mSpeed;
    }
    CallLog().push_back(entry);
}

std::vector<LoggedCall> CallsStarting(const std::string& prefix)
{
    std::vector<LoggedCall> out;
    for (const LoggedCall& entry : CallLog())
        if (entry.call.rfind(prefix, 0) == 0)
            out.push_back(entry);
    return out;
}

int CountCalls(const std::string& prefix)
{
    return int(CallsStarting(prefix).size());
}

std::string Narrow(const std::wstring& text)
{
    return base::WideToUtf8(text);
}
} // namespace gametest
