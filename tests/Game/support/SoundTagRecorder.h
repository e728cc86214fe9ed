#pragma once

// Watches the sound tags while it lives: every tag asked for, with whether it
// was found, and every music started.
#include <string>
#include <utility>
#include <vector>

namespace gametest
{
class SoundTagRecorder
{
public:
    SoundTagRecorder();
    ~SoundTagRecorder();
    SoundTagRecorder(const SoundTagRecorder&) = delete;
    SoundTagRecorder& operator=(const SoundTagRecorder&) = delete;

    std::vector<std::pair<std::wstring, bool>> tags;
    std::vector<std::wstring> music;
};
} // namespace gametest
