// The live path through SDL's disk driver: what the device got is a file.
#include "AudioFixtures.h"
#include "ManualBass.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace audiotest;

TEST(DiskOutput, TheWrittenFileHoldsTheTone)
{
    auto dir = std::filesystem::temp_directory_path() / ("bass_disk_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string path = (dir / "out.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);

    ASSERT_TRUE(BASS_Init(-1, 44100, 0, 0, nullptr));
    HSAMPLE s = LoadSample(OggTone({440, 0.5, 1, 44100, 0.3}));
    HCHANNEL ch = BASS_SampleGetChannel(s, TRUE);
    BASS_ChannelPlay(ch, TRUE);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    // Closing the device closes the file; later calls must stay harmless.
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    EXPECT_FALSE(BASS_ChannelIsActive(ch)) << "the tone has ended";
    BASS_Pause();
    BASS_Start();
    BASS_ChannelPlay(ch, TRUE);
    BASS_SampleFree(s);

    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> pcm(bytes.size() / sizeof(float));
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * sizeof(float));
    size_t first = 0;
    while (first < pcm.size() / 2 && std::fabs(pcm[first * 2]) < 0.01f)
        ++first;
    ASSERT_LT(first + Frames(250), pcm.size() / 2) << "no tone in the file";
    Measured m = Measure(pcm.data() + (first + Frames(25)) * 2, Frames(200), 0);
    EXPECT_NEAR(m.frequency, 440, 10);
    EXPECT_NEAR(m.rms, RmsOf(0.5), 0.02);
    std::filesystem::remove_all(dir);
}
