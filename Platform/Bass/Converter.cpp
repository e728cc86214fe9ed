#include "Platform/Bass/Converter.h"

#include "Platform/Bass/PlayableLayout.h"
#include "Platform/Bass/StandIn.h"

#include <algorithm>

namespace bass
{
namespace
{
constexpr size_t kFrameBytes = 2 * sizeof(float);
constexpr size_t kTailPadFrames = 4096;
} // namespace

Converter::~Converter()
{
    if (m_stream)
        SDL_FreeAudioStream(m_stream);
}

bool Converter::Open(SDL_AudioFormat format, int channels, int rate)
{
    if (!IsPlayableLayout(channels, rate))
        return false;
    m_stream = SDL_NewAudioStream(format, static_cast<Uint8>(channels), rate, AUDIO_F32SYS, 2, static_cast<int>(kRate));
    m_format = format;
    m_frameBytes = static_cast<size_t>(SDL_AUDIO_BITSIZE(format) / 8) * static_cast<size_t>(channels);
    m_rate = static_cast<unsigned>(rate);
    return m_stream != nullptr && m_frameBytes > 0;
}

bool Converter::Put(const void* data, size_t bytes)
{
    bytes -= bytes % m_frameBytes;
    // SDL takes the length as an int.
    if (bytes == 0)
        return true;
    if (bytes > 0x40000000 || SDL_AudioStreamPut(m_stream, data, static_cast<int>(bytes)) != 0)
        return false;
    m_framesIn += bytes / m_frameBytes;
    return true;
}

bool Converter::Flush()
{
    // SDL's resampler keeps back the tail of the data when flushed: silence
    // behind it pushes the tail out, and Get cuts the silence off.
    std::vector<Uint8> silence(kTailPadFrames * m_frameBytes, m_format == AUDIO_U8 ? 0x80 : 0);
    uint64_t framesIn = m_framesIn;
    bool ok = Put(silence.data(), silence.size()) && SDL_AudioStreamFlush(m_stream) == 0;
    m_framesIn = framesIn;
    return ok;
}

size_t Converter::Get(float* out, size_t frames)
{
    const uint64_t expected = m_framesIn * kRate / m_rate;
    const uint64_t left = expected > m_framesOut ? expected - m_framesOut : 0;
    frames = static_cast<size_t>(std::min<uint64_t>(frames, left));
    if (frames == 0)
        return 0;
    int got = SDL_AudioStreamGet(m_stream, out, static_cast<int>(frames * kFrameBytes));
    size_t n = got > 0 ? static_cast<size_t>(got) / kFrameBytes : 0;
    m_framesOut += n;
    return n;
}

size_t Converter::Available() const
{
    int n = SDL_AudioStreamAvailable(m_stream);
    return n > 0 ? static_cast<size_t>(n) / kFrameBytes : 0;
}

void Converter::Clear()
{
    SDL_AudioStreamClear(m_stream);
    m_framesIn = 0;
    m_framesOut = 0;
}

std::vector<float> ConvertAll(SDL_AudioFormat format, int channels, int rate, const void* data, size_t bytes)
{
    Converter conv;
    if (!conv.Open(format, channels, rate) || !conv.Put(data, bytes) || !conv.Flush())
        return {};
    std::vector<float> pcm;
    size_t total = 0;
    for (;;)
    {
        pcm.resize((total + conv.Available() + 4096) * 2);
        size_t got = conv.Get(pcm.data() + total * 2, pcm.size() / 2 - total);
        if (got == 0)
            break;
        total += got;
    }
    pcm.resize(total * 2);
    return pcm;
}
} // namespace bass
