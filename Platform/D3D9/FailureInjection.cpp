#include "Platform/D3D9/FailureInjection.h"

#include <map>
#include <mutex>
#include <string>

namespace d3d9 {

namespace {
struct Scripted
{
    int remaining;
    HRESULT result;
};
std::mutex gMutex;
std::map<std::string, Scripted>& Table()
{
    static std::map<std::string, Scripted> table;
    return table;
}
} // namespace

void FailNextCalls(const char* method, int count, HRESULT result)
{
    std::lock_guard lock(gMutex);
    if (count <= 0)
        Table().erase(method);
    else
        Table()[method] = {count, result};
}

void ClearInjectedFailures()
{
    std::lock_guard lock(gMutex);
    Table().clear();
}

HRESULT InjectedFailure(const char* method)
{
    std::lock_guard lock(gMutex);
    auto& table = Table();
    if (table.empty())
        return S_OK;
    auto it = table.find(method);
    if (it == table.end())
        return S_OK;
    const HRESULT result = it->second.result;
    if (--it->second.remaining <= 0)
        table.erase(it);
    return result;
}

} // namespace d3d9
