#include "LevelFileFixture.h"

#include "Game/Data/FindById.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/NQPoint.h"
#include "support/LogCapture.h"

#include <algorithm>

namespace leveltest
{
void LevelFileTest::SetUp()
{
    gametest::LevelTest::SetUp();
    hvtest::CaptureLog();
    BuildLevel();
    ClearLog();
}

bool LevelFileTest::ReadLevel(const std::string& text)
{
    std::string picture;
    const bool read = map->ReadLevelText(text, picture);
    map->BuildRoutes();
    return read;
}

int LevelFileTest::Logged(const std::wstring& text) const { return hvtest::CountLogLinesWith(text); }

void LevelFileTest::ClearLog() { hvtest::LogLines().clear(); }

NQPoint* LevelFileTest::Point(int32_t id) const { return FindById(*map->mPoints, id); }

std::vector<std::pair<int, int32_t>> LevelFileTest::StoredLanes() const
{
    std::vector<std::pair<int, int32_t>> lanes;
    for (const NQLinkLanes* entry : *map->mLanePaths)
    {
        const auto link = std::find(map->mLinks->begin(), map->mLinks->end(), entry->mLink);
        for (const auto& [offset, samples] : entry->mLanes)
            lanes.emplace_back(int(link - map->mLinks->begin()), offset);
    }
    return lanes;
}
} // namespace leveltest
