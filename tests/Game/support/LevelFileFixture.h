#pragma once

// The level fixture with its level built, and the log's lines kept.
#include "LevelFixture.h"

#include "Game/Level/NQMap.h"

#include <string>
#include <vector>

class NQLink;
class NQPoint;
struct NQPathSample;

namespace leveltest
{
class LevelFileTest : public gametest::LevelTest
{
protected:
    void SetUp() override;

    // The reading steps on the text (true when it parses), then BuildRoutes.
    bool ReadLevel(const std::string& text);
    // The lines logged since SetUp that hold the text.
    int Logged(const std::wstring& text) const;
    void ClearLog();

    NQPoint* Point(int32_t id) const;
    NQLink* Link(size_t index) const { return (*map->mLinks)[index]; }
    // The (link index, offset) pairs of the lane-path table, table order.
    std::vector<std::pair<int, int32_t>> StoredLanes() const;
};
} // namespace leveltest
