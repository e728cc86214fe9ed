#pragma once

#include <vector>

namespace app
{
// One display monitor: its rectangle, its work area and whether it is the primary.
struct MonitorInfo
{
    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
    int mWorkX = 0;
    int mWorkY = 0;
    int mWorkWidth = 0;
    int mWorkHeight = 0;
    bool mPrimary = false;
};

// The monitors, for the choice of display mode.
class MonitorList
{
public:
    // Refills the list; false when a monitor could not be read (the list
    // then holds the monitors before it).
    bool Enumerate();
    int GetCount() const;
    // Null when the index is not below the count.
    const MonitorInfo* Get(int index) const;

    std::vector<MonitorInfo> mMonitors;
};
} // namespace app
