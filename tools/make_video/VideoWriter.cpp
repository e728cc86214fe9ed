#include "tools/make_video/VideoWriter.h"

#include <ogg/ogg.h>
#include <png.h>
#include <theora/theoraenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

namespace videowriter
{
namespace
{
// The player's conversion factors.
constexpr double kRv = 113443.0 / 65536.0;
constexpr double kGv = 45744.0 / 65536.0;
constexpr double kGu = 22020.0 / 65536.0;
constexpr double kBu = 113508.0 / 65536.0;

// Decode to about (254, 0, 0) and (0, 1, 251): pure blue lies just outside
// what the player's conversion reaches.
constexpr Yuv kRed{64, 91, 238};
constexpr Yuv kBlue{31, 255, 110};

uint8_t ToByte(double value)
{
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

struct Planes
{
    uint32_t width = 0, height = 0, chromaWidth = 0, chromaHeight = 0;
    std::vector<uint8_t> y, u, v;

    void Resize(uint32_t w, uint32_t h, Chroma chroma)
    {
        width = w;
        height = h;
        chromaWidth = chroma == Chroma::k420 ? w / 2 : w;
        chromaHeight = chroma == Chroma::k420 ? h / 2 : h;
        y.assign(size_t(w) * h, 0);
        u.assign(size_t(chromaWidth) * chromaHeight, 128);
        v.assign(size_t(chromaWidth) * chromaHeight, 128);
    }
};

void FillPattern(const Options& options, uint32_t frame, Planes* planes)
{
    const uint32_t xStep = planes->width / planes->chromaWidth;
    const uint32_t yStep = planes->height / planes->chromaHeight;
    for (uint32_t r = 0; r < planes->height; ++r)
        for (uint32_t c = 0; c < planes->width; ++c)
        {
            const Yuv p = PatternPixel(options, frame, c, r);
            planes->y[size_t(r) * planes->width + c] = p.y;
            if (r % yStep == 0 && c % xStep == 0)
            {
                const size_t at = size_t(r / yStep) * planes->chromaWidth + c / xStep;
                planes->u[at] = p.u;
                planes->v[at] = p.v;
            }
        }
}

struct PngDeleter
{
    void operator()(png_image* image) const { png_image_free(image); }
};

bool LoadPng(const std::string& path, std::vector<uint8_t>* rgb, uint32_t* width, uint32_t* height,
             std::string* error)
{
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
    {
        *error = path + ": " + image.message;
        return false;
    }
    std::unique_ptr<png_image, PngDeleter> guard(&image);
    image.format = PNG_FORMAT_RGB;
    rgb->assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr))
    {
        *error = path + ": " + image.message;
        return false;
    }
    *width = image.width;
    *height = image.height;
    return true;
}

// Luma per pixel; chroma averaged over the pixels each chroma sample covers.
void FillFromRgb(const std::vector<uint8_t>& rgb, Planes* planes)
{
    const uint32_t xStep = planes->width / planes->chromaWidth;
    const uint32_t yStep = planes->height / planes->chromaHeight;
    std::vector<double> uSum(planes->u.size(), 0.0), vSum(planes->v.size(), 0.0);
    for (uint32_t r = 0; r < planes->height; ++r)
        for (uint32_t c = 0; c < planes->width; ++c)
        {
            const uint8_t* p = &rgb[(size_t(r) * planes->width + c) * 3];
            double y, u, v;
            RgbToYuv(p[0], p[1], p[2], &y, &u, &v);
            planes->y[size_t(r) * planes->width + c] = ToByte(y);
            const size_t at = size_t(r / yStep) * planes->chromaWidth + c / xStep;
            uSum[at] += u;
            vSum[at] += v;
        }
    const double count = double(xStep) * yStep;
    for (size_t i = 0; i < uSum.size(); ++i)
    {
        planes->u[i] = ToByte(uSum[i] / count);
        planes->v[i] = ToByte(vSum[i] / count);
    }
}

void AppendPage(const ogg_page& page, OggFile* out)
{
    out->bytes.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    out->bytes.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
    out->pageEnds.push_back(out->bytes.size());
}

void Flush(ogg_stream_state* stream, OggFile* out)
{
    ogg_page page;
    while (ogg_stream_flush(stream, &page) > 0)
        AppendPage(page, out);
}

void PageOut(ogg_stream_state* stream, OggFile* out)
{
    ogg_page page;
    while (ogg_stream_pageout(stream, &page) > 0)
        AppendPage(page, out);
}

void PutBigEndian32(unsigned char* at, uint32_t value)
{
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}

// A beginning-of-stream packet of a codec nobody knows.
void PacketInMadeUp(ogg_stream_state* stream, bool bos, bool eos, int64_t number)
{
    static unsigned char body[] = "\x01madeup-codec header";
    ogg_packet packet{};
    packet.packet = body;
    packet.bytes = sizeof(body) - 1;
    packet.b_o_s = bos ? 1 : 0;
    packet.e_o_s = eos ? 1 : 0;
    packet.granulepos = number;
    packet.packetno = number;
    ogg_stream_packetin(stream, &packet);
}

struct Encoder
{
    th_enc_ctx* context = nullptr;
    th_info info;
    th_comment comment;
    ogg_stream_state stream{};
    ogg_stream_state other{};

    Encoder()
    {
        th_info_init(&info);
        th_comment_init(&comment);
    }
    ~Encoder()
    {
        if (context)
            th_encode_free(context);
        th_comment_clear(&comment);
        th_info_clear(&info);
        ogg_stream_clear(&stream);
        ogg_stream_clear(&other);
    }
};

bool ListPngs(const std::string& folder, std::vector<std::string>* files, std::string* error)
{
    std::error_code code;
    for (const auto& entry : std::filesystem::directory_iterator(folder, code))
    {
        const std::filesystem::path& path = entry.path();
        if (entry.is_regular_file() && path.extension() == ".png")
            files->push_back(path.string());
    }
    if (code)
    {
        *error = folder + ": " + code.message();
        return false;
    }
    std::sort(files->begin(), files->end());
    if (files->empty())
    {
        *error = folder + ": no PNG frames";
        return false;
    }
    return true;
}
} // namespace

void RgbToYuv(double r, double g, double b, double* y, double* u, double* v)
{
    // Solves R = Y + kRv v, G = Y - kGu u - kGv v, B = Y + kBu u (u, v centred on 128).
    const double luma = (g + kGu / kBu * b + kGv / kRv * r) / (1.0 + kGu / kBu + kGv / kRv);
    *y = luma;
    *u = 128.0 + (b - luma) / kBu;
    *v = 128.0 + (r - luma) / kRv;
}

Yuv PatternPixel(const Options& options, uint32_t frame, uint32_t x, uint32_t y)
{
    if (y < kIndexBandTop + kBandRows)
        return {IndexLuma(frame), 128, 128};
    if (y >= options.height - kBandRows)
        return {kDarkLuma, 128, 128};
    if (y < kColourBandTop + kBandRows)
    {
        const uint32_t split = std::max<uint32_t>(16, options.width / 2 / 16 * 16);
        return x < split ? kRed : kBlue;
    }
    return {kMiddleLuma, 128, 128};
}

bool WriteVideo(const Options& options, OggFile* out, std::string* error)
{
    *out = OggFile();
    std::vector<std::string> pngs;
    uint32_t width = options.width, height = options.height, frames = options.frames;
    std::vector<uint8_t> rgb;
    if (!options.pngFolder.empty())
    {
        if (!ListPngs(options.pngFolder, &pngs, error) || !LoadPng(pngs[0], &rgb, &width, &height, error))
            return false;
        frames = static_cast<uint32_t>(pngs.size());
    }
    if (width == 0 || height == 0 || width % 16 || height % 16 || width >= (1u << 20) || height >= (1u << 20))
    {
        *error = "the size must be a non-zero multiple of 16";
        return false;
    }
    if (pngs.empty() && height < 3 * kBandRows)
    {
        *error = "the pattern needs at least 48 rows";
        return false;
    }
    if (frames == 0 || options.fpsNumerator == 0 || options.fpsDenominator == 0)
    {
        *error = "frame count and frame rate must be non-zero";
        return false;
    }

    Encoder enc;
    enc.info.frame_width = width;
    enc.info.frame_height = height;
    enc.info.pic_width = width;
    enc.info.pic_height = height;
    enc.info.fps_numerator = options.fpsNumerator;
    enc.info.fps_denominator = options.fpsDenominator;
    enc.info.aspect_numerator = 1;
    enc.info.aspect_denominator = 1;
    enc.info.colorspace = TH_CS_UNSPECIFIED;
    enc.info.pixel_fmt = options.chroma == Chroma::k420 ? TH_PF_420 : TH_PF_444;
    enc.info.quality = std::clamp(options.quality, 0, 63);
    enc.info.target_bitrate = 0;
    enc.context = th_encode_alloc(&enc.info);
    if (!enc.context)
    {
        *error = "the encoder refused the settings";
        return false;
    }
    char tag[] = "ENCODER", value[] = "make_video";
    th_comment_add_tag(&enc.comment, tag, value);
    ogg_stream_init(&enc.stream, 0x7E0);
    if (options.secondStream)
        ogg_stream_init(&enc.other, 0x5EC);

    // The identification header alone on the first page; the rest flushed next.
    ogg_packet packet;
    int headers = 0;
    while (th_encode_flushheader(enc.context, &enc.comment, &packet) > 0)
    {
        std::vector<unsigned char> patched;
        if (headers == 0 && (options.zeroFpsNumerator || options.zeroFpsDenominator) && packet.bytes >= 30)
        {
            patched.assign(packet.packet, packet.packet + packet.bytes);
            if (options.zeroFpsNumerator)
                PutBigEndian32(&patched[22], 0);
            if (options.zeroFpsDenominator)
                PutBigEndian32(&patched[26], 0);
            packet.packet = patched.data();
        }
        ogg_stream_packetin(&enc.stream, &packet);
        if (headers == 0)
        {
            Flush(&enc.stream, out);
            if (options.secondStream)
            {
                // Every beginning-of-stream page comes before any other page.
                PacketInMadeUp(&enc.other, true, false, 0);
                Flush(&enc.other, out);
            }
        }
        ++headers;
    }
    if (headers != 3)
    {
        *error = "the encoder gave no headers";
        return false;
    }
    Flush(&enc.stream, out);
    out->dataStart = out->bytes.size();

    Planes planes;
    planes.Resize(width, height, options.chroma);
    for (uint32_t k = 0; k < frames; ++k)
    {
        if (!pngs.empty())
        {
            uint32_t w = 0, h = 0;
            if (k > 0 && !LoadPng(pngs[k], &rgb, &w, &h, error))
                return false;
            if (k > 0 && (w != width || h != height))
            {
                *error = pngs[k] + ": the frames differ in size";
                return false;
            }
            FillFromRgb(rgb, &planes);
        }
        else
            FillPattern(options, k, &planes);

        th_ycbcr_buffer buffer;
        buffer[0] = {int(planes.width), int(planes.height), int(planes.width), planes.y.data()};
        buffer[1] = {int(planes.chromaWidth), int(planes.chromaHeight), int(planes.chromaWidth), planes.u.data()};
        buffer[2] = {int(planes.chromaWidth), int(planes.chromaHeight), int(planes.chromaWidth), planes.v.data()};
        if (th_encode_ycbcr_in(enc.context, buffer) != 0)
        {
            *error = "the encoder refused a frame";
            return false;
        }
        const int last = k + 1 == frames ? 1 : 0;
        while (th_encode_packetout(enc.context, last, &packet) > 0)
        {
            ogg_stream_packetin(&enc.stream, &packet);
            PageOut(&enc.stream, out);
        }
    }
    Flush(&enc.stream, out);
    if (options.secondStream)
    {
        PacketInMadeUp(&enc.other, false, true, 1);
        Flush(&enc.other, out);
    }
    return true;
}

OggFile WriteNonTheora()
{
    OggFile out;
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0xBAD);
    PacketInMadeUp(&stream, true, false, 0);
    Flush(&stream, &out);
    out.dataStart = out.bytes.size();
    for (int64_t k = 1; k <= 3; ++k)
    {
        PacketInMadeUp(&stream, false, k == 3, k);
        Flush(&stream, &out);
    }
    ogg_stream_clear(&stream);
    return out;
}
} // namespace videowriter
