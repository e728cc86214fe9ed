#pragma once

namespace framework
{
// Told when the application has switched between windowed and full screen.
class ScreenModeListener
{
public:
    virtual ~ScreenModeListener() = default;
    virtual void OnScreenModeChanged(const bool& windowed) = 0;
};
} // namespace framework
