#include "AudioEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>

namespace audioencoder
{
namespace
{
// Frames handed to the analysis per call: small enough to keep the buffer
// short, large enough not to matter for speed.
constexpr long kChunkFrames = 1024;

void AppendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

void Put32(std::string& s, uint32_t v)
{
    AppendLe16(s, static_cast<uint16_t>(v & 0xffff));
    AppendLe16(s, static_cast<uint16_t>(v >> 16));
}
} // namespace

void AppendLe16(std::string& out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>(value >> 8));
}

std::string EncodeOggVorbis(const Pcm& pcm, float quality, uint32_t serial)
{
    if (pcm.channels < 1 || pcm.rate < 1)
        return {};
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, pcm.channels, pcm.rate, quality) != 0)
    {
        vorbis_info_clear(&vi);
        return {};
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    // libogg takes the serial as an int; the bit pattern is what lands in the file.
    ogg_stream_init(&os, static_cast<int>(serial));

    std::string out;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    // The headers get pages of their own, so audio starts on a fresh page.
    while (ogg_stream_flush(&os, &page))
        AppendPage(out, page);

    const long total = static_cast<long>(pcm.samples.size() / static_cast<size_t>(pcm.channels));
    long written = 0;
    bool eos = false;
    while (!eos)
    {
        const long n = std::min(kChunkFrames, total - written);
        if (n > 0)
        {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (long i = 0; i < n; ++i)
                for (int c = 0; c < pcm.channels; ++c)
                    buffer[c][i] = pcm.samples[static_cast<size_t>((written + i) * pcm.channels + c)];
            written += n;
        }
        // Zero frames tell the encoder the stream ends.
        vorbis_analysis_wrote(&vd, static_cast<int>(n > 0 ? n : 0));
        while (vorbis_analysis_blockout(&vd, &vb) == 1)
        {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet))
            {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page))
                {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page))
                        eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

std::string WavHeader(int channels, int rate, int bits, uint32_t dataBytes)
{
    constexpr uint32_t kFmtChunkBytes = 16;
    constexpr uint16_t kFormatPcm = 1;
    constexpr uint32_t kHeaderBytesAfterSize = 36;
    std::string s = "RIFF";
    Put32(s, kHeaderBytesAfterSize + dataBytes);
    s += "WAVEfmt ";
    Put32(s, kFmtChunkBytes);
    AppendLe16(s, kFormatPcm);
    AppendLe16(s, static_cast<uint16_t>(channels));
    Put32(s, static_cast<uint32_t>(rate));
    Put32(s, static_cast<uint32_t>(rate * channels * bits / 8));
    AppendLe16(s, static_cast<uint16_t>(channels * bits / 8));
    AppendLe16(s, static_cast<uint16_t>(bits));
    s += "data";
    Put32(s, dataBytes);
    return s;
}

std::string EncodeWav16(const Pcm& pcm)
{
    constexpr int kBits = 16;
    std::string data;
    data.reserve(pcm.samples.size() * 2);
    for (float v : pcm.samples)
    {
        const double clamped = std::clamp(static_cast<double>(v), -1.0, 1.0);
        AppendLe16(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(clamped * 32767.0))));
    }
    return WavHeader(pcm.channels, pcm.rate, kBits, static_cast<uint32_t>(data.size())) + data;
}

uint32_t SerialFromName(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : name)
    {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}
} // namespace audioencoder
