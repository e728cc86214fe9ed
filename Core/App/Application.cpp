#include "Core/App/Application.h"

namespace app
{
Application* Application::Instance()
{
    if (!sInstance)
    {
        assert(!IsTornDown() && "application reached after the exit teardown");
        sInstance = CreateApplication();
    }
    return sInstance;
}

HVResultEnum Application::PreInit()
{
    return ApplicationWin32::PreInit();
}

HVResultEnum Application::Init()
{
    return OnInit();
}

HVResultEnum Application::Update(float dt)
{
    ApplicationWin32::Update(dt);
    UnlinkFinished(mThreads);
    if (mThreads.empty())
        mFinished = true;
    return HV_OK;
}

void Application::OnStop()
{
    for (size_t i = 0; i < mThreads.size(); ++i)
        mThreads[i]->Stop();
}

bool Application::RegisterTask(ThreadWin32* thread)
{
    mThreads.push_back(thread);
    return true;
}
} // namespace app
