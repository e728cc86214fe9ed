#include "Game/GameSounds.h"

#include "Core/Sound/SoundTags.h"

void PlaySoundTag(const std::wstring& tag) { k2::SoundTags::Instance()->Play(tag); }

void PlaySoundTag(const wchar_t* prefix, int32_t id, const wchar_t* suffix)
{
    PlaySoundTag(prefix + std::to_wstring(id) + suffix);
}
