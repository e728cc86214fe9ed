#include "Core/Sound/SoundTags.h"

#include "Core/Base/FileFunctions.h"
#include "Core/Base/StringTokenizer.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/PlayerVolumes.h"
#include "Core/Sound/Sound.h"
#include "Core/Sound/SoundSystem.h"

namespace k2
{
namespace
{
constexpr int kUtf8 = 1;
const char* const kSoundFolder = "nq/data/sound/";

testing::SoundTagObserver& Observer()
{
    static testing::SoundTagObserver observer;
    return observer;
}
} // namespace

SoundTags::~SoundTags()
{
    ClearEntries();
}

std::vector<base::SingletoneBase*> SoundTags::GetDependencies()
{
    return {resource::ResourceManager::Instance()};
}

bool SoundTags::Load(const std::wstring& path)
{
    ClearEntries();
    std::string text = base::ReadTextFile(path);
    base::StringTokenizer lines(text, '\n', true);
    // A row without volume or group cells keeps the previous row's.
    float volume = 1.0f;
    int group = 0;
    std::string line;
    while (lines.Next(line))
    {
        std::string packed;
        base::RemoveChar(line, ' ', packed);
        base::StringTokenizer cells(packed, ';', false);
        std::string tag, file;
        int ignored = 0;
        cells.Next(tag);
        cells.Next(file);
        cells.NextFloat(volume).NextInt(group).NextInt(ignored);
        if (!tag.empty() && tag[0] == '#')
            continue;
        auto* entry = new SoundTagEntry;
        entry->tag = base::ToWide(tag, kUtf8);
        entry->file = base::ToWide(file, kUtf8);
        entry->group = group;
        entry->volume = volume;
        if (!file.empty())
            entry->sound = SoundSystem::Instance()->CreateSound(kSoundFolder + file);
        m_entries.push_back(entry);
    }
    return true;
}

bool SoundTags::Play(const std::wstring& tag)
{
    for (SoundTagEntry* entry : m_entries)
    {
        if (entry->tag != tag || entry->file.empty())
            continue;
        if (entry->sound)
        {
            entry->sound->SetVolume(Volumes().GetSoundVolume(), 0.0f);
            entry->sound->Play();
        }
        if (Observer().onPlay)
            Observer().onPlay(tag, true);
        return true;
    }
    if (Observer().onPlay)
        Observer().onPlay(tag, false);
    return false;
}

void SoundTags::PlayMusic(const std::wstring& path)
{
    if (Observer().onMusic)
        Observer().onMusic(path);
    SoundSystem* sound = SoundSystem::Instance();
    sound->SetPlaylist({base::ToNarrow(path, kUtf8)});
    sound->SetMusicVolume(Volumes().GetMusicVolume());
}

void SoundTags::ClearEntries()
{
    for (SoundTagEntry* entry : m_entries)
    {
        delete entry->sound;
        delete entry;
    }
    m_entries.clear();
}

void SoundTags::SetPlayerVolumes(const PlayerVolumes* volumes)
{
    m_volumes = volumes;
}

const PlayerVolumes& SoundTags::Volumes() const
{
    static const PlayerVolumes fullVolume;
    return m_volumes ? *m_volumes : fullVolume;
}
} // namespace k2

namespace k2::testing
{
void SetSoundTagObserver(SoundTagObserver observer)
{
    Observer() = std::move(observer);
}
} // namespace k2::testing
