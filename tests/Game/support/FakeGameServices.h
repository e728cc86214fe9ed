#pragma once

// Services answering from plain fields and recording the calls the game's
// classes make; installed for its lifetime.
#include "Game/Data/NQFrameEntry.h"
#include "Game/NQGameServices.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gametest
{
class FakeGameServices : public NQGameServices
{
public:
    FakeGameServices();
    ~FakeGameServices() override;

    int GetMode() override { return mode; }
    void SetMode(int value) override;
    int GetDefaultGems() override { return defaultGems; }
    void SetEconomyGems(int gems) override;
    int GetEpisodeCount() override { return episodeCount; }
    int GetLevelCount(int episode) override;
    int GetHardcoreLevelCount(int episode) override;
    bool IsEpisodeOpen(int episode) override;
    std::vector<int> GetUpgradeIds() override { return upgradeIds; }
    int GetUpgradeStepCount(int id) override;
    void ReloadTutorial() override;
    void SetTutorialEnabled(bool enabled) override;
    bool IsFullscreen() override { return fullscreen; }
    void SwitchScreenMode() override;
    ViewRect GetViewRect() override { return view; }
    // Kept (owned) until the test takes or clears them.
    void AppendDrawFrame(NQFrameEntry* entry) override;
    bool GetEnemyDrawPosition(const NQEnemy* enemy, float& x, float& y) override;

    // The calls made, by name, in order ("SetMode 2", "ReloadTutorial", ...).
    std::vector<std::string> calls;
    int Count(const std::string& prefix) const;

    int mode = 0;
    int defaultGems = 0;
    int economyGems = -1;
    int episodeCount = 0;
    std::map<int, int> levelCounts;
    std::map<int, int> hardcoreLevelCounts;
    std::map<int, bool> openEpisodes;
    std::vector<int> upgradeIds;
    // Steps by upgrade id; an id not here is unknown (-1).
    std::map<int, int> upgradeSteps;
    bool tutorialEnabled = true;
    bool fullscreen = false;
    // The game's switch records the new state itself; so does this one.
    bool switchFlipsFullscreen = true;
    ViewRect view;
    std::vector<std::unique_ptr<NQFrameEntry>> queued;
    std::map<const NQEnemy*, std::pair<float, float>> enemyPositions;

private:
    NQGameServices* mPrevious = nullptr;
};
} // namespace gametest
