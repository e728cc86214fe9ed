#pragma once

// The base of game tests: a temporary data root as current directory, a
// temporary profile store, fake services, and at the end the sprite sets
// deleted and every singleton torn down. With onDevice set before SetUp the
// application is the game on the Direct3D 9 stand-in (DeviceGame.h) instead
// of the quad recorder's.
#include "DataRootFixture.h"
#include "FakeGameServices.h"
#include "GameTestApplication.h"
#include "TempProfileStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace app
{
class Window;
}

namespace gametest
{
class DeviceGame;

class GameTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the current game application (once); pictures load from then on.
    framework::GameApplication* StartApplication();
    // Null on the device.
    QuadRecorder* Recorder();
    // Null without onDevice.
    DeviceGame* Device();

    std::unique_ptr<DataRoot> data;
    std::unique_ptr<TempProfileStore> profiles;
    std::unique_ptr<FakeGameServices> services;
    framework::GameApplication* application = nullptr;
    bool onDevice = false;
    // What the application answers as the running level; none by default.
    Game::LevelSource levelSource = []() -> NQMap* { return nullptr; };

private:
    QuadRecorder* mRecorder = nullptr;
    DeviceGame* mDevice = nullptr;
    // Shared: the type stays incomplete here.
    std::shared_ptr<app::Window> mWindow;
};
} // namespace gametest
