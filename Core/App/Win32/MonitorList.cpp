#include "Core/App/Win32/MonitorList.h"

#include "Platform/Win32/Monitors.h"

namespace app
{
namespace
{
BOOL AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info))
        return FALSE;
    MonitorInfo record;
    record.mX = info.rcMonitor.left;
    record.mY = info.rcMonitor.top;
    record.mWidth = info.rcMonitor.right - info.rcMonitor.left;
    record.mHeight = info.rcMonitor.bottom - info.rcMonitor.top;
    record.mWorkX = info.rcWork.left;
    record.mWorkY = info.rcWork.top;
    record.mWorkWidth = info.rcWork.right - info.rcWork.left;
    record.mWorkHeight = info.rcWork.bottom - info.rcWork.top;
    record.mPrimary = info.dwFlags == MONITORINFOF_PRIMARY;
    reinterpret_cast<std::vector<MonitorInfo>*>(data)->push_back(record);
    return TRUE;
}
} // namespace

bool MonitorList::Enumerate()
{
    mMonitors.clear();
    return EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&mMonitors)) != FALSE;
}

int MonitorList::GetCount() const
{
    return static_cast<int>(mMonitors.size());
}

const MonitorInfo* MonitorList::Get(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return &mMonitors[static_cast<size_t>(index)];
}
} // namespace app
