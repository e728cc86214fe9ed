#pragma once

// A temporary data root with generated sound and music files, the sound
// singletons started fresh on the manual mixer, and a way to name the track
// that a mixed buffer holds.
#include "support/TempFolder.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace soundtest
{
// The tones of the generated tracks, by file name.
struct Track
{
    const char* name;
    double frequency;
    double level;
};

class SoundWorld
{
public:
    enum class Output
    {
        Manual, // the test mixes by hand
        Live,   // through SDL, in a process of its own
    };
    // Makes the folder the current directory.
    explicit SoundWorld(Output output = Output::Manual);
    // Tears the singletons down, restores the current directory, removes the folder.
    ~SoundWorld();

    void Write(const std::string& relative, const std::string& bytes) { m_folder.Write(relative, bytes); }
    std::filesystem::path Root() const { return m_folder.Folder(); }

private:
    hvtest::TempFolder m_folder;
    std::unique_ptr<hvtest::CurrentDirectory> m_current;
};

// "a" 440 Hz, "b" 880 Hz, "c" 660 Hz, "click" 1320 Hz; "" for silence; "?" otherwise.
std::string Audible(const std::vector<float>& stereo);
// The amplitude of the sine the buffer holds.
double Level(const std::vector<float>& stereo);
// Mixes, then delivers the syncs, `steps` times.
std::vector<float> Mix(double milliseconds, int steps = 10);
} // namespace soundtest
