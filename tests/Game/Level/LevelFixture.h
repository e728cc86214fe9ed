#pragma once

// A level object built directly on a temporary data root, no game or window;
// Game::GetMap answers it, and the log's lines are kept.
#include "GameTestFixture.h"

#include "Game/NQMap.h"

#include <memory>
#include <string>
#include <vector>

class NQLink;
class NQPoint;
struct NQPathSample;

namespace leveltest
{
class LevelTest : public gametest::GameTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The reading steps on the text (true when it parses), then BuildRoutes.
    bool ReadLevel(const std::string& text);
    // The lines logged since SetUp that hold the text.
    int Logged(const std::wstring& text) const;
    void ClearLog();

    NQPoint* Point(int32_t id) const;
    NQLink* Link(size_t index) const { return (*map->mLinks)[index]; }
    // The (link index, offset) pairs of the lane-path table, table order.
    std::vector<std::pair<int, int32_t>> StoredLanes() const;

    std::unique_ptr<NQMap> map;
};
} // namespace leveltest
