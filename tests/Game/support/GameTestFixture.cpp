#include "GameTestFixture.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Game/NQResources.h"

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
    services.reset();
    profiles.reset();
    data.reset();
}

GameTestApplication* GameTest::StartApplication()
{
    if (!application)
        application = new GameTestApplication;
    return application;
}
} // namespace gametest
