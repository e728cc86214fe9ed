#include "Core/App/Window.h"

namespace app
{
int Window::GetClientWidth()
{
    return mWindowWidth;
}

int Window::GetClientHeight()
{
    return mWindowHeight;
}
} // namespace app
