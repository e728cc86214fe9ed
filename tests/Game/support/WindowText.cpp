#include "WindowText.h"

#include "Game/Hud/HUDWindow.h"

namespace gametest
{
std::wstring TextOf(const HUDWindow& window, const std::wstring& slot)
{
    for (const auto& [name, text] : window.mTexts)
    {
        if (name == slot)
            return text;
    }
    return L"<unset>";
}
} // namespace gametest
