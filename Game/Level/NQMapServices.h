#pragma once

#include "Game/NQGameServices.h"

class NQMap;
class NQTutorial;

// The running level's answers to what the game's own classes read of it.
class NQMapServices : public NQGameServices
{
public:
    explicit NQMapServices(NQMap* map);

    int GetMode() override;
    void SetMode(int mode) override;
    int GetDefaultGems() override;
    void SetEconomyGems(int gems) override;

    int GetEpisodeCount() override;
    int GetLevelCount(int episode) override;
    int GetHardcoreLevelCount(int episode) override;
    bool IsEpisodeOpen(int episode) override;

    std::vector<int> GetUpgradeIds() override;
    int GetUpgradeStepCount(int id) override;

    void ReloadTutorial() override;
    void SetTutorialEnabled(bool enabled) override;

    bool IsFullscreen() override;
    void SwitchScreenMode() override;

    ViewRect GetViewRect() override;
    void AppendDrawFrame(NQFrameEntry* entry) override;
    bool GetEnemyDrawPosition(const NQEnemy* enemy, float& x, float& y) override;

private:
    // The tutorial, made on first use once the level can be read by it; null before.
    NQTutorial* Tutorial();

    NQMap* mMap;
};
