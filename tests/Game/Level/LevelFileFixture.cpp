#include "LevelFileFixture.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Game/FindById.h"
#include "Game/NQLinkLanes.h"
#include "Game/NQPoint.h"

#include <algorithm>

namespace leveltest
{
namespace
{
std::vector<std::wstring>& LogLines()
{
    // Outlives the log, which still writes while it shuts down.
    static auto* lines = new std::vector<std::wstring>;
    return *lines;
}

class Capture : public base::LogOutput
{
public:
    void Write(const std::wstring& text) override { LogLines().push_back(text); }
};
} // namespace

void LevelFileTest::SetUp()
{
    gametest::LevelTest::SetUp();
    base::MainLog::Instance()->AddTextOutput(new Capture);
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

int LevelFileTest::Logged(const std::wstring& text) const
{
    return int(std::count_if(LogLines().begin(), LogLines().end(),
                             [&text](const std::wstring& line) { return line.find(text) != std::wstring::npos; }));
}

void LevelFileTest::ClearLog() { LogLines().clear(); }

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
