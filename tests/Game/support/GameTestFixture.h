#pragma once

// The base of game tests: a temporary data root as current directory, a
// temporary profile store, fake services, and at the end the sprite sets
// deleted and every singleton torn down.
#include "DataRootFixture.h"
#include "FakeGameServices.h"
#include "GameTestApplication.h"
#include "TempProfileStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace gametest
{
class GameTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the current game application (once); pictures load from then on.
    GameTestApplication* StartApplication();
    QuadRecorder* Recorder() { return StartApplication()->Recorder(); }

    std::unique_ptr<DataRoot> data;
    std::unique_ptr<TempProfileStore> profiles;
    std::unique_ptr<FakeGameServices> services;
    GameTestApplication* application = nullptr;
};
} // namespace gametest
