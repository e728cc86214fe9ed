#pragma once

// The current player's saved progress: every read goes to the current profile
// element of the profile store and every change is saved before it returns.
#include "Game/Data/NQLevelRecord.h"

#include <map>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class NQProgress
{
public:
    // The most gems a player can hold, and the most stars a level gives.
    static constexpr int kMaxGems = 9'999'999;
    static constexpr int kMaxStars = 3;

    NQProgress();
    NQProgress(const NQProgress&) = delete;
    NQProgress& operator=(const NQProgress&) = delete;
    ~NQProgress();

    // Holds every number of the current profile to what play can produce,
    // logging each value it changes; level and upgrade ranges once the
    // tables are known. Runs whenever the record binds to a profile.
    void HoldToPlayableRanges();

    // Profiles.
    void EnsureSkeleton();
    void ReloadProfileNames();
    void SelectProfile(const std::wstring& name);
    void SwitchProfile(const std::wstring& name);
    // Nothing when another profile already carries the name.
    void RenameProfile(const std::wstring& name);
    // Nothing while the current name is empty.
    void DeleteProfile();
    void ResetCurrentProfile();
    // Saves the store; a failure is remembered for the player (and the next
    // save tries again).
    void Save();
    // True once, after the first failed save of this record's life: the
    // player is told that much and no more.
    bool TakeSaveFailureNotice();

    // Levels and stars.
    tinyxml2::XMLElement* FindOrCreateLevel(int episode, int level, int mode);
    // A new record; the caller deletes it.
    NQLevelRecord* GetLevelRecord(int episode, int level, int mode);
    void StoreLevelResult(int episode, int level, int mode, const NQLevelRecord& record);
    int GetNextLevel(int episode, int mode);
    bool IsLevelOpen(int episode, int level, int mode);
    // -1: every episode.
    int GetStars(int episode);
    void GetFurthestLevel(int& episode, int& level);
    int GetLastEpisode();

    // Episode and event flags.
    int GetEpisodeVisited(int episode, int mode);
    void SetEpisodeVisited(int episode, int mode, int value);
    bool GetEventFlag(int n);
    void SetEventFlag(int n);

    // Unlock messages already shown to this player: each id is announced once.
    // A file without them (older saves) has announced nothing.
    bool IsUnlockAnnounced(int id);
    // Saves once when any id was new.
    void SetUnlocksAnnounced(const std::vector<int>& ids);

    // Economy and settings.
    int GetGems();
    void SetGems(int gems);
    void AddGems(int gems);
    int GetMode();
    void SetMode(int mode);
    float GetMusicVolume();
    float GetSoundVolume();
    void SetMusicVolume(float volume);
    void SetSoundVolume(float volume);
    bool GetFullscreen();
    void SetFullscreen(bool fullscreen);

    // Tutorial.
    bool IsTutorialEnabled();
    void SetTutorialEnabled(bool enabled);
    int GetTutorialStepState(int id);
    void SetTutorialStepState(int id, int state);
    int GetTutorialParam(const std::wstring& name);
    // UTF-8 name.
    int GetTutorialParam(const std::string& name);
    void SetTutorialParam(const std::wstring& name, int value);

    // Upgrades and spots.
    int GetUpgradeLevel(int id);
    void SetUpgradeLevel(int id, int level);
    void AddOwnedSpot(const std::wstring& name, int episode, int level);
    bool IsSpotOwned(const std::wstring& name, int episode, int level);

    // Every profile name but the first (placeholder) one, in file order.
    const std::vector<std::wstring>& GetProfileNames() const { return mProfileNames; }
    const std::wstring& GetCurrentName() const { return mCurrentName; }
    int GetCachedMode() const { return mCachedMode; }
    // The store's current profile element.
    tinyxml2::XMLElement* GetProfileElement();

private:
    // Takes the store's current profile element again.
    void Bind();
    tinyxml2::XMLElement* Profile();
    tinyxml2::XMLElement* FindChild(const char* name);
    tinyxml2::XMLElement* FindOrAppendChild(const char* name);
    tinyxml2::XMLElement* CreateUpgrades();
    tinyxml2::XMLElement* FindOrCreateTutorialParam(const std::string& name, bool* created);

    tinyxml2::XMLElement* mProfile = nullptr;
    int mCachedMode = 0;
    std::map<int, int> mUpgradeLevels;
    std::vector<std::wstring> mProfileNames;
    std::wstring mCurrentName;
    bool mSaveFailed = false;
    bool mSaveFailureTold = false;
};
