#include "Platform/Bass/Vorbis.h"

#include "Platform/Bass/PlayableLayout.h"

#include <cstdio>
#include <cstring>

namespace bass
{
VorbisDecoder::~VorbisDecoder()
{
    if (m_open)
        ov_clear(&m_file);
}

bool VorbisDecoder::Open(void* source, ov_callbacks callbacks)
{
    if (ov_open_callbacks(source, &m_file, nullptr, 0, callbacks) != 0)
        return false;
    m_open = true;
    const vorbis_info* info = ov_info(&m_file, -1);
    // Refused before any decoding: a whole file would be decoded for nothing.
    if (!info || !IsPlayableLayout(info->channels, info->rate))
        return false;
    m_channels = info->channels;
    m_rate = static_cast<int>(info->rate);
    return true;
}

long VorbisDecoder::Read(std::vector<float>& out, int frames)
{
    for (;;)
    {
        float** pcm = nullptr;
        int section = 0;
        long got = ov_read_float(&m_file, &pcm, frames, &section);
        if (got == OV_HOLE)
            continue; // a gap in the data: decoding goes on behind it
        if (got <= 0)
            return got;
        // A chained file whose layout changes mid-way is not ours to play.
        const vorbis_info* info = ov_info(&m_file, -1);
        if (!info || info->channels != m_channels)
            return OV_EBADLINK;
        size_t base = out.size();
        out.resize(base + static_cast<size_t>(got) * m_channels);
        for (long f = 0; f < got; ++f)
            for (int c = 0; c < m_channels; ++c)
                out[base + f * m_channels + c] = pcm[c][f];
        return got;
    }
}

bool VorbisDecoder::Rewind()
{
    return m_open && ov_raw_seek(&m_file, 0) == 0;
}

namespace
{
struct MemorySource
{
    const unsigned char* data;
    size_t size;
    size_t pos;
};

size_t MemRead(void* ptr, size_t size, size_t count, void* source)
{
    auto* m = static_cast<MemorySource*>(source);
    size_t want = size * count;
    size_t left = m->size - m->pos;
    size_t n = want < left ? want : left;
    std::memcpy(ptr, m->data + m->pos, n);
    m->pos += n;
    return size ? n / size : 0;
}

int MemSeek(void* source, ogg_int64_t offset, int whence)
{
    auto* m = static_cast<MemorySource*>(source);
    ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<ogg_int64_t>(m->pos) : static_cast<ogg_int64_t>(m->size);
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(m->size))
        return -1;
    m->pos = static_cast<size_t>(target);
    return 0;
}

long MemTell(void* source)
{
    return static_cast<long>(static_cast<MemorySource*>(source)->pos);
}
} // namespace

bool DecodeVorbisMemory(const unsigned char* data, size_t size, DecodedPcm& out)
{
    MemorySource source{data, size, 0};
    ov_callbacks callbacks{MemRead, MemSeek, nullptr, MemTell};
    VorbisDecoder decoder;
    if (!decoder.Open(&source, callbacks))
        return false;
    out.channels = decoder.Channels();
    out.rate = decoder.Rate();
    out.samples.clear();
    for (;;)
    {
        long got = decoder.Read(out.samples, 4096);
        if (got == 0)
            break;
        if (got < 0)
            return false;
    }
    return !out.samples.empty();
}

bool IsOgg(const unsigned char* data, size_t size)
{
    return size >= 4 && std::memcmp(data, "OggS", 4) == 0;
}
} // namespace bass
