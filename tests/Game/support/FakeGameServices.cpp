#include "FakeGameServices.h"

namespace gametest
{
FakeGameServices::FakeGameServices() { mPrevious = NQGameServices::Install(this); }

FakeGameServices::~FakeGameServices()
{
    NQGameServices::Remove(this);
    if (mPrevious != NQGameServices::Get())
        NQGameServices::Install(mPrevious);
}

int FakeGameServices::Count(const std::string& prefix) const
{
    int count = 0;
    for (const std::string& call : calls)
        count += call.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return count;
}

void FakeGameServices::SetMode(int value)
{
    mode = value;
    calls.push_back("SetMode " + std::to_string(value));
}

void FakeGameServices::SetEconomyGems(int gems)
{
    economyGems = gems;
    calls.push_back("SetEconomyGems " + std::to_string(gems));
}

int FakeGameServices::GetLevelCount(int episode)
{
    const auto found = levelCounts.find(episode);
    return found == levelCounts.end() ? -1 : found->second;
}

int FakeGameServices::GetUpgradeStepCount(int id)
{
    const auto found = upgradeSteps.find(id);
    return found == upgradeSteps.end() ? -1 : found->second;
}

int FakeGameServices::GetHardcoreLevelCount(int episode)
{
    const auto found = hardcoreLevelCounts.find(episode);
    return found == hardcoreLevelCounts.end() ? -1 : found->second;
}

bool FakeGameServices::IsEpisodeOpen(int episode)
{
    const auto found = openEpisodes.find(episode);
    return found != openEpisodes.end() && found->second;
}

void FakeGameServices::ReloadTutorial() { calls.push_back("ReloadTutorial"); }

void FakeGameServices::SetTutorialEnabled(bool enabled)
{
    tutorialEnabled = enabled;
    calls.push_back(std::string("SetTutorialEnabled ") + (enabled ? "1" : "0"));
}

void FakeGameServices::SwitchScreenMode()
{
    calls.push_back("SwitchScreenMode");
    if (switchFlipsFullscreen)
        fullscreen = !fullscreen;
}

void FakeGameServices::AppendDrawFrame(NQFrameEntry* entry)
{
    calls.push_back("AppendDrawFrame");
    queued.emplace_back(entry);
}

bool FakeGameServices::GetEnemyDrawPosition(const NQEnemy* enemy, float& x, float& y)
{
    const auto found = enemyPositions.find(enemy);
    if (found == enemyPositions.end())
        return false;
    x = found->second.first;
    y = found->second.second;
    return true;
}
} // namespace gametest
