#pragma once

#include "Core/App/Win32/ApplicationWin32.h"
#include "Core/Base/Singletone.h"

#include <vector>

namespace app
{
class Application : public base::Singletone<Application>, public ApplicationWin32
{
public:
    Application() = default;
    ~Application() override = default;

    // The application, made on first access by the game's CreateApplication.
    static Application* Instance();
    // The application if it has been made; never makes it (libraries that
    // only read its settings must not need the game's CreateApplication).
    static Application* Existing() { return sInstance; }

    // Singleton face: PreInit forwards to the task face; Init runs OnInit.
    HVResultEnum PreInit() override;
    virtual HVResultEnum Init();

    // The pump, then reaping of finished registered threads; finished once none remain.
    HVResultEnum Update(float dt) override;
    // Stops every registered thread; the application itself stays unfinished.
    void OnStop() override;

    bool RegisterTask(ThreadWin32* thread);

    std::vector<ThreadWin32*> mThreads; // not owned, except when reaped delete-when-finished
    float mImageScale = 1.0f;
    float mFontScale = 1.0f;
    int mExitCode = 0;
};

// Supplied by the game, never by a library.
Application* CreateApplication();
} // namespace app
