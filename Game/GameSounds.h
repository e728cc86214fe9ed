#pragma once

// The battle's sound tags, some formatted with an id ("tower%dshot").
#include <cstdint>
#include <string>

void PlaySoundTag(const std::wstring& tag);
// prefix + id + suffix.
void PlaySoundTag(const wchar_t* prefix, int32_t id, const wchar_t* suffix);
