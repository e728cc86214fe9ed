#include "SoundTagRecorder.h"

#include "Core/Sound/SoundTags.h"

namespace gametest
{
SoundTagRecorder::SoundTagRecorder()
{
    k2::testing::SoundTagObserver observer;
    observer.onPlay = [this](const std::wstring& tag, bool found) { tags.emplace_back(tag, found); };
    observer.onMusic = [this](const std::wstring& path) { music.push_back(path); };
    k2::testing::SetSoundTagObserver(std::move(observer));
}

SoundTagRecorder::~SoundTagRecorder()
{
    k2::testing::SetSoundTagObserver({});
}
} // namespace gametest
