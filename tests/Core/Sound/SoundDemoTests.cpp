// A capture through SDL's disk driver of what a player hears: one tag, then
// music that switches track with its one-second fade. The capture is kept as
// a WAV file beside the build for listening or measuring.
#include "AudioFixtures.h"
#include "ManualBass.h"
#include "SoundTestSupport.h"
#include "Core/Sound/SoundSystem.h"
#include "Core/Sound/SoundTags.h"
#include "Platform/Win32/Messages.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

using namespace std::chrono;
using audiotest::OggTone;

namespace
{
// The main loop's turns for `ms`: two pumps each, as the application does.
void Pump(milliseconds ms)
{
    auto end = steady_clock::now() + ms;
    while (steady_clock::now() < end)
    {
        MSG msg{};
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
        std::this_thread::sleep_for(5ms);
    }
}

void WriteWav16(const std::string& path, const std::vector<float>& stereo)
{
    auto put = [](std::ofstream& o, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            o.put(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    std::ofstream o(path, std::ios::binary);
    uint32_t data = static_cast<uint32_t>(stereo.size() * 2);
    o << "RIFF";
    put(o, 36 + data, 4);
    o << "WAVEfmt ";
    put(o, 16, 4);
    put(o, 1, 2);
    put(o, 2, 2);
    put(o, 44100, 4);
    put(o, 44100 * 4, 4);
    put(o, 4, 2);
    put(o, 16, 2);
    o << "data";
    put(o, data, 4);
    for (float v : stereo)
        put(o, static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767))), 2);
}
} // namespace

TEST(SoundDemo, TagThenMusicSwitchThroughTheDiskDriver)
{
    soundtest::SoundWorld world(soundtest::SoundWorld::Output::Live);
    world.Write("nq/sounds_sheet.csv", "simple;click;1;0;0\n");
    world.Write("nq/data/sound/click.ogg", OggTone({1320, 0.5, 1, 44100, 0.3}));
    world.Write("nq/data/music/one.ogg", OggTone({440, 0.5, 2, 44100, 4.0}));
    world.Write("nq/data/music/two.ogg", OggTone({880, 0.5, 2, 44100, 4.0}));
    std::string raw = (world.Root() / "capture.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);

    k2::SoundTags* tags = k2::SoundTags::Instance(); // starts the audio output
    tags->Load(L"nq/sounds_sheet.csv");
    ASSERT_TRUE(tags->Play(L"simple"));
    Pump(400ms);
    tags->PlayMusic(L"nq/data/music/one.ogg");
    Pump(1000ms);
    tags->PlayMusic(L"nq/data/music/two.ogg");
    Pump(1600ms);
    SDL_QuitSubSystem(SDL_INIT_AUDIO); // closes the capture file

    std::ifstream in(raw, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> pcm(bytes.size() / sizeof(float));
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * sizeof(float));
    WriteWav16(HV_CAPTURE_DIR "/sound_demo.wav", pcm);

    // 50 ms windows, named by their tone: click, then one fading out, then two.
    std::vector<std::string> names;
    std::vector<double> levels;
    const size_t window = audiotest::Frames(50);
    for (size_t f = 0; f + window <= pcm.size() / 2; f += window)
    {
        std::vector<float> part(pcm.begin() + f * 2, pcm.begin() + (f + window) * 2);
        names.push_back(soundtest::Audible(part));
        levels.push_back(soundtest::Level(part));
    }
    auto first = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    auto last = [&](const std::string& n) { return names.rend() - std::find(names.rbegin(), names.rend(), n) - 1; };
    ptrdiff_t clickAt = first("click"), oneAt = first("a"), oneEnd = last("a"), twoAt = first("b");
    ASSERT_LT(clickAt, static_cast<ptrdiff_t>(names.size()));
    ASSERT_LT(oneAt, static_cast<ptrdiff_t>(names.size()));
    ASSERT_LT(twoAt, static_cast<ptrdiff_t>(names.size()));
    EXPECT_LT(clickAt, oneAt);
    EXPECT_LT(oneEnd, twoAt);
    // The fade: about a second of the first track falling towards silence.
    ptrdiff_t fadeStart = oneEnd;
    while (fadeStart > oneAt && levels[fadeStart - 1] < 0.95 * 0.5)
        --fadeStart;
    EXPECT_NEAR((oneEnd - fadeStart + 1) * 50.0, 1000.0, 150.0);
    EXPECT_NEAR(levels[(fadeStart + oneEnd) / 2], 0.25, 0.08);
    EXPECT_NEAR(levels[twoAt + 2], 0.5, 0.03);
}
