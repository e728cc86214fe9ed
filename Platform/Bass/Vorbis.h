#pragma once

// Ogg Vorbis decoding through libvorbisfile, from any byte source.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <vector>

namespace bass
{
class VorbisDecoder
{
public:
    VorbisDecoder() = default;
    ~VorbisDecoder();
    VorbisDecoder(const VorbisDecoder&) = delete;
    VorbisDecoder& operator=(const VorbisDecoder&) = delete;

    bool Open(void* source, ov_callbacks callbacks);
    int Channels() const { return m_channels; }
    int Rate() const { return m_rate; }

    // Appends up to `frames` interleaved frames to `out`: the count, 0 at the
    // end, negative on an error that ends the decoding.
    long Read(std::vector<float>& out, int frames);
    bool Rewind();

private:
    OggVorbis_File m_file{};
    bool m_open = false;
    int m_channels = 0;
    int m_rate = 0;
};

// A whole file in memory: interleaved float frames, with its layout.
struct DecodedPcm
{
    std::vector<float> samples;
    int channels = 0;
    int rate = 0;
};
bool DecodeVorbisMemory(const unsigned char* data, size_t size, DecodedPcm& out);

bool IsOgg(const unsigned char* data, size_t size);
} // namespace bass
