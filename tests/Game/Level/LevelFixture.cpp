#include "LevelFixture.h"

#include "Game/Game.h"

namespace leveltest
{
void LevelTest::SetUp()
{
    gametest::GameTest::SetUp();
    map = std::make_unique<NQMap>();
    game::testing::SetRunningMap(map.get());
}

void LevelTest::TearDown()
{
    game::testing::SetRunningMap(nullptr);
    map.reset();
    gametest::GameTest::TearDown();
}

bool LevelTest::ReadLevel(const std::string& text)
{
    std::string picture;
    const bool read = map->ReadLevelText(text, picture);
    map->BuildRoutes();
    return read;
}
} // namespace leveltest
