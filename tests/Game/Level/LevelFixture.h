#pragma once

// A level object built directly on a temporary data root, no game or window;
// Game::GetMap answers it.
#include "GameTestFixture.h"

#include "Game/NQMap.h"

#include <memory>
#include <string>

namespace leveltest
{
class LevelTest : public gametest::GameTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The reading steps on the text, then BuildRoutes.
    bool ReadLevel(const std::string& text);

    std::unique_ptr<NQMap> map;
};
} // namespace leveltest
