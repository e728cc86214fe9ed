#pragma once

// Reading back what a HUD window was told to show.
#include <string>

class HUDWindow;

namespace gametest
{
// The text set on the window's slot; "<unset>" when it has none.
std::wstring TextOf(const HUDWindow& window, const std::wstring& slot);
} // namespace gametest
