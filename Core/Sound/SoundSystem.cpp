#include "Core/Sound/SoundSystem.h"

#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileInfo.h"
#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/ResourceSound.h"
#include "Core/Sound/Sound.h"

#include <algorithm>
#include <memory>

namespace
{
constexpr float kMusicFadeSeconds = 1.0f;
constexpr int kUtf8 = 1;
} // namespace

SoundSystem::SoundSystem()
{
    BASS_Init(-1, 44100, 0, 0, nullptr);
    BASS_SetConfig(34, 4);
}

SoundSystem::~SoundSystem()
{
    if (m_musicStream)
    {
        BASS_ChannelStop(m_musicStream);
        FreeMusicStream();
    }
    for (Sound* sound : m_sounds)
        delete sound;
    m_sounds.clear();
}

std::vector<base::SingletoneBase*> SoundSystem::GetDependencies()
{
    return {resource::ResourceManager::Instance()};
}

Sound* SoundSystem::CreateSound(const std::string& name)
{
    std::wstring wide = base::ToWide(m_prefix + name, kUtf8);
    resource::ResourceHandle<resource::ResourceSound> handle = resource::ResourceManager::Instance()->Get<resource::ResourceSound>(wide);
    if (handle.Get() && !handle.Get()->IsLoaded())
        handle.Get()->Load();
    return new Sound(handle);
}

void SoundSystem::PlayMusic(const std::string& name)
{
    m_playlist.clear();
    SwitchMusic(name);
}

void SoundSystem::PlayMusic(const std::wstring& name)
{
    PlayMusic(base::ToNarrow(name, kUtf8));
}

void SoundSystem::SetPlaylist(const std::vector<std::string>& names)
{
    m_playlist = names;
    if (!m_playlist.empty())
        SwitchMusic(m_playlist.front());
}

void SoundSystem::SwitchMusic(const std::string& name)
{
    if (name == m_currentMusic)
    {
        if (m_musicStream && BASS_ChannelIsActive(m_musicStream) != BASS_ACTIVE_STOPPED)
            return;
        if (!name.empty())
            BASS_ChannelPlay(m_musicStream, TRUE);
        return;
    }

    if (m_musicStream)
    {
        if (BASS_ChannelIsActive(m_musicStream) != BASS_ACTIVE_STOPPED && !name.empty())
        {
            // The switch completes in OnMusicSync once the fade is over.
            BASS_ChannelSlideAttribute(m_musicStream, BASS_ATTRIB_VOL, 0.0f, static_cast<DWORD>(kMusicFadeSeconds * 1000.0f));
            BASS_ChannelSetSync(m_musicStream, BASS_SYNC_SLIDE | BASS_SYNC_MIXTIME, 0, OnMusicSync, nullptr);
            m_nextMusic = name;
            return;
        }
        BASS_ChannelStop(m_musicStream);
        FreeMusicStream();
        // Without its stream the name must go too, or switching back to it
        // would find it current and play nothing.
        m_currentMusic.clear();
    }

    if (name.empty())
    {
        m_currentMusic.clear();
        return;
    }

    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->Open(base::ToWide(m_prefix + name, kUtf8), nullptr, 0, nullptr));
    if (!info)
        return;
    m_musicFile = info->OpenStream();
    if (!m_musicFile)
        return;
    static const BASS_FILEPROCS procs = {MusicFileClose, MusicFileLength, MusicFileRead, MusicFileSeek};
    m_musicStream = BASS_StreamCreateFileUser(STREAMFILE_BUFFER, 0, &procs, m_musicFile);
    if (!m_musicStream)
    {
        // A file the decoder refuses: nothing else will delete its stream.
        delete m_musicFile;
        m_musicFile = nullptr;
        m_currentMusic.clear();
        return;
    }
    BASS_ChannelPlay(m_musicStream, TRUE);
    BASS_ChannelSetAttribute(m_musicStream, BASS_ATTRIB_VOL, m_musicVolume);

    if (!m_playlist.empty())
    {
        BASS_ChannelSetSync(m_musicStream, BASS_SYNC_END, 0, OnMusicSync, nullptr);
        auto it = std::find(m_playlist.begin(), m_playlist.end(), name);
        if (it == m_playlist.end() || ++it == m_playlist.end())
            m_nextMusic = m_playlist.front();
        else
            m_nextMusic = *it;
    }
    m_currentMusic = name;
}

std::string SoundSystem::GetNextMusicName() const
{
    return m_nextMusic;
}

void SoundSystem::SetMusicVolume(float volume)
{
    m_musicVolume = volume;
    if (m_musicStream)
        BASS_ChannelSetAttribute(m_musicStream, BASS_ATTRIB_VOL, volume);
}

void SoundSystem::SetSoundVolume(float volume)
{
    m_soundVolume = volume;
    for (Sound* sound : m_sounds)
        BASS_ChannelSetAttribute(sound->GetChannel(), BASS_ATTRIB_VOL, volume);
}

void SoundSystem::ResumeAll()
{
    BASS_Start();
}

void SoundSystem::PauseAll()
{
    BASS_Pause();
}

void SoundSystem::OnSoundFinished(Sound* sound)
{
    auto it = std::find(m_sounds.begin(), m_sounds.end(), sound);
    if (it == m_sounds.end())
        return;
    m_sounds.erase(it);
    delete sound;
}

void SoundSystem::FreeMusicStream()
{
    BASS_StreamFree(m_musicStream);
    m_musicStream = 0;
    delete m_musicFile;
    m_musicFile = nullptr;
}

void SoundSystem::OnMusicSync(HSYNC, DWORD, DWORD, void*)
{
    SoundSystem* self = Instance();
    std::string next = self->m_nextMusic;
    self->SwitchMusic("");
    self->SwitchMusic(next);
}

void SoundSystem::MusicFileClose(void*)
{
}

QWORD SoundSystem::MusicFileLength(void* user)
{
    return static_cast<base::Stream*>(user)->Size();
}

DWORD SoundSystem::MusicFileRead(void* buffer, DWORD length, void* user)
{
    return static_cast<base::Stream*>(user)->Read(buffer, length);
}

BOOL SoundSystem::MusicFileSeek(QWORD offset, void* user)
{
    if (offset > 0x7fffffff)
        return FALSE;
    auto* stream = static_cast<base::Stream*>(user);
    return stream->Seek(static_cast<int32_t>(offset), 0) == offset ? TRUE : FALSE;
}
