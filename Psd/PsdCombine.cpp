// Pixel combiners: planes of one picture (layer, merged image or pattern) to ARGB.

#include "Psd/PsdInternal.h"

namespace {

struct Sampler {
    int step;  // bytes per sample: the high byte of a 16-bit sample is its first
    uint8_t operator()(const uint8_t* plane, size_t i) const { return plane ? plane[i * step] : 0; }
};

}  // namespace

bool psdr_combine(const psdr_planes& p, int colour_mode, const uint32_t* table, int table_size,
                  int indexed_count, int transparent_index, bool indexed_checks, uint32_t* pixels) {
    const int depth = p.depth;
    if (colour_mode == 0) {
        if (depth != 1) return false;
        size_t row = (size_t(p.width) + 7) / 8;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                uint8_t byte = p.c[0] ? p.c[0][size_t(y) * row + size_t(x) / 8] : 0;
                bool set = byte & (0x80 >> (x % 8));
                pixels[size_t(y) * size_t(p.width) + size_t(x)] = set ? 0xFF000000u : 0xFFFFFFFFu;
            }
        return true;
    }
    if (depth != 8 && depth != 16) return false;
    if ((colour_mode == 2 || colour_mode == 7) && depth != 8) return false;
    const Sampler s{depth == 16 ? 2 : 1};
    const size_t n = p.count;
    switch (colour_mode) {
    case 1:
    case 8:
        for (size_t i = 0; i < n; ++i) {
            uint32_t g = s(p.c[0], i);
            pixels[i] = uint32_t(p.alpha ? s(p.alpha, i) : 255) << 24 | g * 0x010101u;
        }
        return true;
    case 2:
        for (size_t i = 0; i < n; ++i) {
            int c = s(p.c[0], i);
            bool ok = c < table_size && table &&
                      (!indexed_checks || (c < indexed_count && c != transparent_index));
            pixels[i] = ok ? table[c] : 0x00FFFFFFu;
        }
        return true;
    case 3:
        for (size_t i = 0; i < n; ++i)
            pixels[i] = psdr_pack_argb(p.alpha ? s(p.alpha, i) : 255, s(p.c[0], i), s(p.c[1], i),
                                       s(p.c[2], i));
        return true;
    case 4:
        for (size_t i = 0; i < n; ++i)
            pixels[i] = psdr_cmyk_alpha_to_argb(p.alpha ? s(p.alpha, i) : 255, 255 - s(p.c[0], i),
                                                255 - s(p.c[1], i), 255 - s(p.c[2], i),
                                                255 - s(p.c[3], i));
        return true;
    case 7:
        // The fourth channel, when present, is the fourth ink.
        for (size_t i = 0; i < n; ++i)
            pixels[i] = psdr_cmyk_to_argb(255 - s(p.c[0], i), 255 - s(p.c[1], i),
                                          255 - s(p.c[2], i), p.alpha ? 255 - s(p.alpha, i) : 0);
        return true;
    case 9:
        for (size_t i = 0; i < n; ++i) {
            int l = s(p.c[0], i) * 100 >> 8;
            int a = s(p.c[1], i) - 128;
            int b = s(p.c[2], i) - 128;
            pixels[i] = psdr_lab_to_argb(p.alpha ? s(p.alpha, i) : 255, l, a, b);
        }
        return true;
    default:
        return false;
    }
}
