#pragma once

// Sound files made on the spot for the audio tests, and a way to tell which
// tone a mixed buffer holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace audiotest
{
struct ToneSpec
{
    double frequency = 440.0;
    double level = 0.5;
    int channels = 1;
    int rate = 44100;
    double seconds = 0.3;
};

// Ogg Vorbis bytes of a sine tone (libvorbisenc).
std::string OggTone(const ToneSpec& spec);
// WAV bytes of a sine tone, 8- or 16-bit PCM.
std::string WavTone(const ToneSpec& spec, int bits);

// A 16-bit WAV of `frames` silent frames whose header claims this layout.
std::string SilentWav(int channels, int rate, int frames);
// A tone (spec.rate) whose identification header claims another sample rate.
std::string OggClaimingRate(const ToneSpec& spec, uint32_t rate);

std::string TruncatedOgg();
std::string RandomBytes(size_t count);
// A RIFF header whose data chunk claims more bytes than the file holds.
std::string OverlongWav();

struct Measured
{
    double frequency = 0.0; // from upward zero crossings
    double rms = 0.0;
};
// One side of an interleaved stereo buffer; 0 left, 1 right.
Measured Measure(const float* stereo, size_t frames, int side = 0);
Measured Measure(const std::vector<float>& stereo, int side = 0);

// A sine of this level has this RMS.
inline double RmsOf(double level)
{
    return level * 0.70710678;
}
} // namespace audiotest
