#include "AudioFixtures.h"

#include "tools/audio_encoder/AudioEncoder.h"

#include <ogg/ogg.h>

#include <cmath>
#include <random>

namespace audiotest
{
namespace
{
// The fixtures' files keep one quality and one stream serial.
constexpr float kFixtureQuality = 0.6f;
constexpr uint32_t kFixtureSerial = 1234;

double Sine(const ToneSpec& spec, long frame)
{
    return spec.level * std::sin(2.0 * M_PI * spec.frequency * static_cast<double>(frame) / spec.rate);
}
} // namespace

std::string OggTone(const ToneSpec& spec)
{
    audioencoder::Pcm pcm;
    pcm.channels = spec.channels;
    pcm.rate = spec.rate;
    const long total = std::lround(spec.seconds * spec.rate);
    pcm.samples.reserve(static_cast<size_t>(total * spec.channels));
    for (long i = 0; i < total; ++i)
        for (int c = 0; c < spec.channels; ++c)
            pcm.samples.push_back(static_cast<float>(Sine(spec, i)));
    return audioencoder::EncodeOggVorbis(pcm, kFixtureQuality, kFixtureSerial);
}

std::string WavTone(const ToneSpec& spec, int bits)
{
    const long total = std::lround(spec.seconds * spec.rate);
    std::string data;
    for (long i = 0; i < total; ++i)
    {
        double v = Sine(spec, i);
        for (int c = 0; c < spec.channels; ++c)
        {
            if (bits == 8)
                data.push_back(static_cast<char>(static_cast<uint8_t>(std::lround(128 + v * 127))));
            else
                audioencoder::AppendLe16(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767))));
        }
    }
    return audioencoder::WavHeader(spec.channels, spec.rate, bits, static_cast<uint32_t>(data.size())) + data;
}

std::string SilentWav(int channels, int rate, int frames)
{
    const uint32_t bytes = static_cast<uint32_t>(frames * channels * 2);
    return audioencoder::WavHeader(channels, rate, 16, bytes) + std::string(bytes, '\0');
}

std::string OggClaimingRate(const ToneSpec& spec, uint32_t rate)
{
    std::string bytes = OggTone(spec);
    // The first page holds only the identification header: "\x01vorbis",
    // version, channels, then the rate; its checksum is made again.
    constexpr size_t kSegmentCountAt = 26;
    constexpr size_t kRateInPacket = 12;
    if (bytes.size() < kSegmentCountAt + 1)
        return {};
    const size_t headerLength = kSegmentCountAt + 1 + static_cast<uint8_t>(bytes[kSegmentCountAt]);
    size_t bodyLength = 0;
    for (size_t i = kSegmentCountAt + 1; i < headerLength; ++i)
        bodyLength += static_cast<uint8_t>(bytes[i]);
    const size_t rateAt = headerLength + kRateInPacket;
    if (bytes.size() < headerLength + bodyLength || bodyLength < kRateInPacket + 4)
        return {};
    for (int i = 0; i < 4; ++i)
        bytes[rateAt + i] = static_cast<char>((rate >> (8 * i)) & 0xff);
    ogg_page page{};
    page.header = reinterpret_cast<unsigned char*>(bytes.data());
    page.header_len = static_cast<long>(headerLength);
    page.body = page.header + headerLength;
    page.body_len = static_cast<long>(bodyLength);
    ogg_page_checksum_set(&page);
    return bytes;
}

std::string TruncatedOgg()
{
    std::string full = OggTone({});
    // Cut inside the header pages, so no audio can be decoded.
    return full.substr(0, 200);
}

std::string RandomBytes(size_t count)
{
    std::mt19937 rng(7);
    std::string s(count, '\0');
    for (char& c : s)
        c = static_cast<char>(rng());
    return s;
}

std::string OverlongWav()
{
    std::string s = audioencoder::WavHeader(1, 44100, 16, 1000000);
    s.append(64, '\x10');
    return s;
}

Measured Measure(const float* stereo, size_t frames, int side)
{
    Measured m;
    if (frames == 0)
        return m;
    double sum = 0.0;
    float peak = 0.0f;
    for (size_t i = 0; i < frames; ++i)
    {
        float v = stereo[i * 2 + side];
        sum += static_cast<double>(v) * v;
        peak = std::max(peak, std::fabs(v));
    }
    m.rms = std::sqrt(sum / static_cast<double>(frames));
    // Hysteresis keeps codec noise near zero from counting as crossings.
    const float h = peak * 0.1f;
    int crossings = 0;
    bool low = stereo[side] < 0.0f;
    for (size_t i = 0; i < frames; ++i)
    {
        float v = stereo[i * 2 + side];
        if (low && v > h)
        {
            ++crossings;
            low = false;
        }
        else if (!low && v < -h)
        {
            low = true;
        }
    }
    if (peak > 0.0f)
        m.frequency = crossings * 44100.0 / static_cast<double>(frames);
    return m;
}

Measured Measure(const std::vector<float>& stereo, int side)
{
    return Measure(stereo.data(), stereo.size() / 2, side);
}
} // namespace audiotest
