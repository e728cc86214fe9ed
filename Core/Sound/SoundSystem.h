#pragma once

#include "Core/Base/Singletone.h"
#include "Core/Sound/SoundListener.h"
#include "Platform/Bass/Bass.h"

#include <list>
#include <string>
#include <vector>

namespace base
{
class Stream;
}

// Sound effects and the one music stream. Every call, and every sync
// callback (delivered by the message pump), runs on the main thread, so the
// music state needs no lock.
class SoundSystem : public base::Singletone<SoundSystem>, public SoundListener
{
public:
    SoundSystem();
    ~SoundSystem() override;

    std::vector<base::SingletoneBase*> GetDependencies() override;

    // A new sound owned by the caller; `name` is UTF-8, without extension.
    Sound* CreateSound(const std::string& name);

    // Plays one track once; "" stops the music at once.
    void PlayMusic(const std::string& name);
    void PlayMusic(const std::wstring& name);
    void SetPlaylist(const std::vector<std::string>& names);
    void SwitchMusic(const std::string& name);
    std::string GetNextMusicName() const;
    const std::string& GetCurrentMusicName() const { return m_currentMusic; }
    HSTREAM GetMusicStream() const { return m_musicStream; }

    void SetMusicVolume(float volume);
    void SetSoundVolume(float volume);
    float GetMusicVolume() const { return m_musicVolume; }
    float GetSoundVolume() const { return m_soundVolume; }

    void ResumeAll();
    void PauseAll();

    void OnSoundFinished(Sound* sound) override;

private:
    static void OnMusicSync(HSYNC sync, DWORD channel, DWORD data, void* user);
    static void MusicFileClose(void* user);
    static QWORD MusicFileLength(void* user);
    static DWORD MusicFileRead(void* buffer, DWORD length, void* user);
    static BOOL MusicFileSeek(QWORD offset, void* user);

    void FreeMusicStream();

    std::string m_prefix;
    std::vector<std::string> m_playlist;
    std::string m_currentMusic;
    std::string m_nextMusic;
    HSTREAM m_musicStream = 0;
    base::Stream* m_musicFile = nullptr;
    float m_musicVolume = 1.0f;
    float m_soundVolume = 1.0f;
    std::list<Sound*> m_sounds;
};
