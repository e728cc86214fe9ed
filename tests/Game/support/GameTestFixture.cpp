#include "GameTestFixture.h"

#include "DeviceGame.h"

#include "Core/App/Window.h"
#include "Core/Base/SingletoneRegistry.h"
#include "Game/Data/NQResources.h"

namespace gametest
{
void GameTest::SetUp()
{
    data = std::make_unique<DataRoot>();
    profiles = std::make_unique<TempProfileStore>();
    services = std::make_unique<FakeGameServices>();
}

void GameTest::TearDown()
{
    // The sets hold pictures of the application's renderer: they go first.
    NQResources::Instance()->DeleteSpriteSets();
    base::testing::TeardownSingletonsNow();
    application = nullptr;
    mRecorder = nullptr;
    mDevice = nullptr;
    // The renderer went with the game; its window goes after it.
    mWindow.reset();
    services.reset();
    profiles.reset();
    data.reset();
}

framework::GameApplication* GameTest::StartApplication()
{
    if (application)
        return application;
    if (onDevice)
    {
        mWindow = MakeHiddenWindow();
        mDevice = new DeviceGame(mWindow.get());
        application = mDevice;
        return application;
    }
    auto* recording = new GameTestApplication;
    mRecorder = recording->Recorder();
    application = recording;
    return application;
}

QuadRecorder* GameTest::Recorder()
{
    StartApplication();
    return mRecorder;
}

DeviceGame* GameTest::Device()
{
    StartApplication();
    return mDevice;
}
} // namespace gametest
