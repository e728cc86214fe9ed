#include "Framework/GameWindow.h"

#include "Framework/GameApplication.h"

namespace framework
{
HVResultEnum GameWindow::Start()
{
    return HV_OK;
}

HVResultEnum GameWindow::Update(float dt)
{
    const HVResultEnum pumped = WindowWin32::Update(dt);
    if (pumped != HV_OK)
        return pumped;
    GameApplication* application = GameApplication::Current();
    // The pump may have destroyed the window, or no application drives it.
    if (!application || mFinished)
        return HV_OK;
    if (mModeSwitchRequested)
    {
        mModeSwitchRequested = false;
        return application->OnScreenModeKey();
    }
    return application->Frame(dt);
}

void GameWindow::OnActivate()
{
    if (GameApplication* application = GameApplication::Current())
        application->OnActivate();
}

void GameWindow::OnDeactivate()
{
    if (GameApplication* application = GameApplication::Current())
        application->OnDeactivate();
}

void GameWindow::OnCreated()
{
}
} // namespace framework
