// Cross-check against a decoder no one here wrote: ImageMagick writes layered
// documents from seeded pixels, and both its own decode and the source pixels
// must equal what this decoder gives, byte for byte.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

namespace {

struct Picture {
    int w, h, x, y;
    std::string label;
    Bytes samples;  // interleaved as the raw format of the variant
};

struct Variant {
    const char* what;
    const char* compress;
    int depth;
    const char* raw;  // ImageMagick raw format
    int components;   // samples per pixel, alpha last
};

int Shell(const std::string& command, Bytes* out = nullptr) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    Bytes data;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) data.insert(data.end(), buffer, buffer + n);
    int status = pclose(pipe);
    if (out) *out = std::move(data);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Seeded samples whose alpha covers 0, 255 and values between.
Bytes Samples(int w, int h, const Variant& v, unsigned seed) {
    const int bytes = v.depth / 8;
    Bytes b = Ramp(size_t(w * h * v.components * bytes), seed);
    for (int i = 0; i < w * h; ++i) {
        const size_t alpha = (size_t(i) * size_t(v.components) + size_t(v.components - 1)) * size_t(bytes);
        const uint8_t a = i % 4 == 0 ? 0 : i % 4 == 1 ? 255 : i % 4 == 2 ? 128 : b[alpha];
        for (int k = 0; k < bytes; ++k) b[alpha + size_t(k)] = a;
    }
    return b;
}

// Expected ARGB of one pixel of interleaved samples (high bytes at depth 16).
uint32_t Argb(const Bytes& s, size_t i, const Variant& v) {
    const size_t step = size_t(v.depth / 8);
    auto at = [&](int c) { return int(s[(i * size_t(v.components) + size_t(c)) * step]); };
    const int a = at(v.components - 1);
    if (v.components == 2) return uint32_t(a) << 24 | uint32_t(at(0)) * 0x010101u;
    if (v.components == 5) return psdr_cmyk_alpha_to_argb(a, at(0), at(1), at(2), at(3));
    return psdr_pack_argb(a, at(0), at(1), at(2));
}

class ImageMagick : public ::testing::TestWithParam<Variant> {};

TEST_P(ImageMagick, LayersMatchTheSourceAndItsOwnDecode) {
    const Variant v = GetParam();
    ASSERT_EQ(Shell("convert -version >/dev/null 2>&1"), 0) << "ImageMagick's convert is required";
    const std::string dir = std::filesystem::temp_directory_path() / ("psd_im_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::vector<Picture> pictures = {
        {20, 14, 0, 0, "", {}},
        {9, 7, 2, 3, "first", {}},
        {8, 6, 15, -2, "outside", {}},  // partly outside the canvas
        {20, 14, 0, 0, "full", {}},
    };
    std::string command = "convert -endian MSB";
    for (size_t k = 0; k < pictures.size(); ++k) {
        Picture& p = pictures[k];
        p.samples = Samples(p.w, p.h, v, unsigned(k + 1) * 31u + unsigned(v.depth));
        const std::string file = dir + "/p" + std::to_string(k) + ".raw";
        WriteFile(file, p.samples);
        command += " \\( -size " + std::to_string(p.w) + "x" + std::to_string(p.h) + " -depth " +
                   std::to_string(v.depth) + " " + v.raw + ":" + file;
        if (k > 0) {
            command += " -repage +" + std::to_string(p.x) + (p.y < 0 ? "" : "+") + std::to_string(p.y) +
                       " -set label " + p.label;
        }
        command += " \\)";
    }
    const std::string doc = dir + "/doc.psd";
    command += " -compress " + std::string(v.compress) + " " + doc + " 2>&1";
    Bytes log;
    ASSERT_EQ(Shell(command, &log), 0) << command << "\n" << std::string(log.begin(), log.end());

    Image img;
    ASSERT_EQ(psdr_load(&img.p, doc.c_str()), PSDR_OK) << v.what;
    ASSERT_EQ(img->layer_count, int(pictures.size() - 1)) << v.what;
    for (size_t k = 1; k < pictures.size(); ++k) {
        const Picture& p = pictures[k];
        const psdr_layer& l = img->layers[k - 1];
        EXPECT_STREQ(l.name, p.label.c_str()) << v.what;
        EXPECT_EQ(l.left, p.x) << v.what << " " << p.label;
        EXPECT_EQ(l.top, p.y) << v.what << " " << p.label;
        ASSERT_EQ(l.width, p.w) << v.what << " " << p.label;
        ASSERT_EQ(l.height, p.h) << v.what << " " << p.label;
        Bytes theirs;
        ASSERT_EQ(Shell("convert -endian MSB '" + doc + "[" + std::to_string(k) +
                          "]' -define psd:alpha-unblend=off -depth " + std::to_string(v.depth) + " " + v.raw + ":-",
                      &theirs),
                  0);
        ASSERT_EQ(theirs.size(), p.samples.size()) << v.what << " " << p.label;
        for (size_t i = 0; i < size_t(p.w * p.h); ++i) {
            ASSERT_EQ(l.pixels[i], Argb(p.samples, i, v)) << v.what << " " << p.label << " source pixel " << i;
            ASSERT_EQ(l.pixels[i], Argb(theirs, i, v)) << v.what << " " << p.label << " ImageMagick pixel " << i;
        }
    }
    // The merged image, where the composite is opaque. The tool stores the
    // composite's alpha as its last plane; the decoder takes plane 0 as alpha
    // (kept as specified), so its planes are read shifted by one.
    const Picture& c = pictures[0];
    for (size_t i = 0; i < size_t(c.w * c.h); ++i) {
        if (Argb(c.samples, i, v) >> 24 != 255) continue;
        const size_t step = size_t(v.depth / 8);
        int plane[5];
        for (int k = 0; k < v.components; ++k) {
            const int sample = c.samples[(i * size_t(v.components) + size_t(k)) * step];
            plane[k] = v.components == 5 && k < 4 ? 255 - sample : sample;  // CMYK is stored inverted
        }
        uint32_t want;
        if (v.components == 2) want = uint32_t(plane[0]) << 24 | uint32_t(plane[1]) * 0x010101u;
        else if (v.components == 5)
            want = psdr_cmyk_alpha_to_argb(plane[0], 255 - plane[1], 255 - plane[2], 255 - plane[3], 255 - plane[4]);
        else want = psdr_pack_argb(plane[0], plane[1], plane[2], plane[3]);
        ASSERT_EQ(img->merged_image[i], want) << v.what << " merged pixel " << i;
    }
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Psd, ImageMagick,
    ::testing::Values(Variant{"rgb8 none", "None", 8, "rgba", 4}, Variant{"rgb8 rle", "RLE", 8, "rgba", 4},
                      Variant{"rgb8 zip", "Zip", 8, "rgba", 4}, Variant{"rgb16 rle", "RLE", 16, "rgba", 4},
                      Variant{"rgb16 zip", "Zip", 16, "rgba", 4}, Variant{"grey alpha", "RLE", 8, "graya", 2},
                      Variant{"cmyk", "RLE", 8, "cmyka", 5}),
    [](const ::testing::TestParamInfo<Variant>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (ch == ' ') ch = '_';
        return name;
    });

}  // namespace
