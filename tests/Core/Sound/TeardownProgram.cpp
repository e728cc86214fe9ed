// Exits with the sound tags loaded and music playing: the singleton teardown
// at exit must end cleanly (the sanitizer build checks for leaks and misuse).
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Sound/SoundTags.h"
#include "Platform/Bass/StandIn.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
void Write(const std::filesystem::path& p, const std::string& bytes)
{
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path sRoot;
void RemoveRoot()
{
    std::filesystem::current_path("/");
    std::filesystem::remove_all(sRoot);
}
} // namespace

int main()
{
    audiotest::StartManualBass();
    sRoot = std::filesystem::temp_directory_path() / ("sound_teardown_" + std::to_string(::getpid()));
    Write(sRoot / "nq/sounds_sheet.csv", "simple;click;1;0;0\n");
    Write(sRoot / "nq/data/sound/click.ogg", audiotest::OggTone({1320, 0.5, 1, 44100, 0.3}));
    Write(sRoot / "nq/data/music/menu.ogg", audiotest::OggTone({440, 0.5, 2, 44100, 2.0}));
    // Registered before the first singleton, so it runs after their teardown.
    std::atexit(RemoveRoot);
    std::filesystem::current_path(sRoot);

    k2::SoundTags::Instance()->Load(L"nq/sounds_sheet.csv");
    k2::SoundTags::Instance()->PlayMusic(L"nq/data/music/menu.ogg");
    k2::SoundTags::Instance()->Play(L"simple");
    audiotest::MixMs(100);
    bass::DeliverSyncs();
    // A fade in progress leaves a slide sync behind as well.
    SoundSystem::Instance()->PlayMusic(std::string("nq/data/sound/click.ogg"));
    audiotest::MixMs(100);
    return 0;
}
