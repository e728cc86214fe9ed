// make_video OUT.ogv [--size WxH] [--frames N] [--fps NUM/DEN] [--format 420|444]
//                    [--quality 0-63] [--png FOLDER]
// Writes an Ogg/Theora video of the test pattern, or of a folder of numbered
// PNG frames (their size, one video frame per file in name order).
#include "tools/make_video/VideoWriter.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace
{
int Usage()
{
    std::fprintf(stderr, "usage: make_video OUT.ogv [--size WxH] [--frames N] [--fps NUM/DEN] "
                         "[--format 420|444] [--quality 0-63] [--png FOLDER]\n");
    return 2;
}

bool ParsePair(const std::string& text, char separator, uint32_t* a, uint32_t* b)
{
    unsigned long x = 0, y = 0;
    char sep = 0, extra = 0;
    if (std::sscanf(text.c_str(), "%lu%c%lu%c", &x, &sep, &y, &extra) != 3 || sep != separator ||
        x > 0xFFFFFFFFul || y > 0xFFFFFFFFul)
        return false;
    *a = static_cast<uint32_t>(x);
    *b = static_cast<uint32_t>(y);
    return true;
}

bool ParseNumber(const std::string& text, uint32_t* value)
{
    char* end = nullptr;
    const unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || n > 0xFFFFFFFFul)
        return false;
    *value = static_cast<uint32_t>(n);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    videowriter::Options options;
    const std::string outPath = argv[1];
    for (int i = 2; i < argc; i += 2)
    {
        if (i + 1 >= argc)
            return Usage();
        const std::string key = argv[i], value = argv[i + 1];
        uint32_t number = 0;
        bool ok = true;
        if (key == "--size")
            ok = ParsePair(value, 'x', &options.width, &options.height);
        else if (key == "--frames")
            ok = ParseNumber(value, &options.frames);
        else if (key == "--fps")
            ok = ParsePair(value, '/', &options.fpsNumerator, &options.fpsDenominator);
        else if (key == "--format")
        {
            ok = value == "420" || value == "444";
            options.chroma = value == "444" ? videowriter::Chroma::k444 : videowriter::Chroma::k420;
        }
        else if (key == "--quality")
        {
            ok = ParseNumber(value, &number) && number <= 63;
            options.quality = static_cast<int>(number);
        }
        else if (key == "--png")
            options.pngFolder = value;
        else
            ok = false;
        if (!ok)
            return Usage();
    }

    videowriter::OggFile file;
    std::string error;
    if (!videowriter::WriteVideo(options, &file, &error))
    {
        std::fprintf(stderr, "make_video: %s\n", error.c_str());
        return 1;
    }
    std::ofstream out(outPath, std::ios::binary);
    out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out)
    {
        std::fprintf(stderr, "make_video: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}
