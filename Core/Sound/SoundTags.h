#pragma once

#include "Core/Base/Singletone.h"

#include <functional>
#include <string>
#include <vector>

class Sound;

namespace k2
{
class PlayerVolumes;

// One row of the sound sheet.
struct SoundTagEntry
{
    std::wstring tag;
    std::wstring file; // below "nq/data/sound/", usually without extension
    int group = 0;
    float volume = 1.0f;
    Sound* sound = nullptr; // owned; null when the file cell is empty
};

// The game's sound effects by tag, from the sound sheet, and its music.
class SoundTags : public base::Singletone<SoundTags>
{
public:
    ~SoundTags() override;

    // The entries' sounds hold resource handles: they must go before the manager.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    bool Load(const std::wstring& path);
    bool Play(const std::wstring& tag);
    void PlayMusic(const std::wstring& path);
    void ClearEntries();

    // Not owned; null goes back to full volume.
    void SetPlayerVolumes(const PlayerVolumes* volumes);

    const std::vector<SoundTagEntry*>& GetEntries() const { return m_entries; }

private:
    const PlayerVolumes& Volumes() const;

    std::vector<SoundTagEntry*> m_entries;
    const PlayerVolumes* m_volumes = nullptr;
};
} // namespace k2

namespace k2::testing
{
// Sees every tag asked for, with whether it was found, and every music started.
struct SoundTagObserver
{
    std::function<void(const std::wstring& tag, bool found)> onPlay;
    std::function<void(const std::wstring& path)> onMusic;
};
// An empty observer (the default) sees nothing.
void SetSoundTagObserver(SoundTagObserver observer);
} // namespace k2::testing
