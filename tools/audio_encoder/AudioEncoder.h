#pragma once

// Encodes interleaved float PCM as Ogg Vorbis (libvorbisenc) or 16-bit WAV.
// Shared by the make_audio tool and the sound tests' fixtures. No time
// stamps go into either file, so equal input gives equal bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace audioencoder
{
struct Pcm
{
    int channels = 1;
    int rate = 44100;
    // Interleaved samples in [-1, 1]; frames = samples.size() / channels.
    std::vector<float> samples;
};

// Empty on an encoder failure (bad channel count, rate or quality).
// quality: libvorbisenc's VBR quality, -0.1 to 1.0. serial: the Ogg stream
// serial number.
std::string EncodeOggVorbis(const Pcm& pcm, float quality, uint32_t serial);

// 16-bit PCM RIFF/WAVE; samples beyond [-1, 1] are clamped.
std::string EncodeWav16(const Pcm& pcm);

// The 44-byte header of a PCM RIFF/WAVE file whose data chunk claims
// dataBytes, and the little-endian writer its fields use.
std::string WavHeader(int channels, int rate, int bits, uint32_t dataBytes);
void AppendLe16(std::string& out, uint16_t value);

// A stream serial derived from a name (FNV-1a), so a file keeps its serial
// from build to build.
uint32_t SerialFromName(const std::string& name);
} // namespace audioencoder
