#pragma once

// What the game's own classes read of the running game: the level object, its
// economy and setup sheet, the upgrade table, the tutorial and the window.
// One instance answers process-wide; until the level object installs its own,
// a default one answers with nothing and zeros. Tests install fakes.
#include <vector>

class NQEnemy;
class NQFrameEntry;

class NQGameServices
{
public:
    struct ViewRect
    {
        float x = 0.0f;
        float y = 0.0f;
        float width = 0.0f;
        float height = 0.0f;
    };

    NQGameServices() = default;
    NQGameServices(const NQGameServices&) = delete;
    NQGameServices& operator=(const NQGameServices&) = delete;
    virtual ~NQGameServices() = default;

    // The installed instance; the default one when none is installed. Never null.
    static NQGameServices* Get();
    // Makes `services` answer from now on (null: the default again) and
    // returns the one that answered before. Not owned.
    static NQGameServices* Install(NQGameServices* services);
    // The default answers again, but only when `services` is the one installed,
    // so that a late removal never takes another's place away.
    static void Remove(NQGameServices* services);

    // The map's difficulty mode (0 easy, 1 normal, 2 hard, 3 hardcore).
    virtual int GetMode() { return 0; }
    virtual void SetMode(int) {}
    // The gem count a fresh profile starts with.
    virtual int GetDefaultGems() { return 0; }
    // The level economy's gems.
    virtual void SetEconomyGems(int) {}

    // The setup sheet.
    virtual int GetEpisodeCount() { return 0; }
    virtual int GetLevelCount(int) { return -1; }
    virtual int GetHardcoreLevelCount(int) { return -1; }
    virtual bool IsEpisodeOpen(int) { return false; }

    // The upgrade table's ids, in table order.
    virtual std::vector<int> GetUpgradeIds() { return {}; }
    // The steps of that upgrade; -1 when the table does not know it.
    virtual int GetUpgradeStepCount(int) { return -1; }

    // The tutorial: read its enabled flag and step states again from the profile.
    virtual void ReloadTutorial() {}
    virtual void SetTutorialEnabled(bool) {}

    // The application window.
    virtual bool IsFullscreen() { return false; }
    // The game's switch records the new state itself (NQProgress::SetFullscreen).
    virtual void SwitchScreenMode() {}

    // The running level's view rectangle.
    virtual ViewRect GetViewRect() { return {}; }

    // Hands a per-frame entry to the level's draw list, which deletes it after
    // drawing; without a level it is deleted at once.
    virtual void AppendDrawFrame(NQFrameEntry* entry);

    // Where the enemy was drawn; false when unknown.
    virtual bool GetEnemyDrawPosition(const NQEnemy*, float&, float&) { return false; }
};
