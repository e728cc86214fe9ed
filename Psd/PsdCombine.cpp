// Pixel combiners: planes of one picture (layer, merged image or pattern) to ARGB.

#include "Psd/PsdInternal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

const uint8_t kZero = 0;
const uint8_t kOpaque = 255;

// One plane's samples; an absent plane reads as a constant (stride 0), so the
// pixel loops carry no branches. The high byte of a 16-bit sample is its first.
struct Src {
    const uint8_t* p;
    size_t step;
    uint8_t operator[](size_t i) const { return p[i * step]; }
};

inline uint32_t pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return a << 24 | r << 16 | g << 8 | b;
}

#if defined(__SSE2__)
// Streamed: past the caches, aligned, with no read of the memory overwritten.
template <bool kStreamed>
inline void store(__m128i* out, __m128i value) {
    if constexpr (kStreamed)
        _mm_stream_si128(out, value);
    else
        _mm_storeu_si128(out, value);
}
#endif

// Eight-bit colour with every plane there: sixteen pixels at a time where
// the processor has SSE2, the bytes of each pixel interleaved b, g, r, a as
// the little-endian ARGB word stores them.
template <bool kStreamed>
void combine_rgb8(const uint8_t* r, const uint8_t* g, const uint8_t* b, const uint8_t* a, size_t n,
                  uint32_t* pixels) {
    size_t i = 0;
#if defined(__SSE2__)
    constexpr size_t kLanes = 16;
    constexpr uintptr_t kVectorAlign = 16;
    if constexpr (kStreamed)
        for (; i < n && reinterpret_cast<uintptr_t>(pixels + i) % kVectorAlign != 0; ++i)
            pixels[i] = pack(a ? a[i] : kOpaque, r[i], g[i], b[i]);
    const __m128i opaque = _mm_set1_epi8(char(kOpaque));
    for (; i + kLanes <= n; i += kLanes) {
        const __m128i vr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + i));
        const __m128i vg = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i va = a ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)) : opaque;
        const __m128i bgLow = _mm_unpacklo_epi8(vb, vg), bgHigh = _mm_unpackhi_epi8(vb, vg);
        const __m128i raLow = _mm_unpacklo_epi8(vr, va), raHigh = _mm_unpackhi_epi8(vr, va);
        auto* out = reinterpret_cast<__m128i*>(pixels + i);
        store<kStreamed>(out, _mm_unpacklo_epi16(bgLow, raLow));
        store<kStreamed>(out + 1, _mm_unpackhi_epi16(bgLow, raLow));
        store<kStreamed>(out + 2, _mm_unpacklo_epi16(bgHigh, raHigh));
        store<kStreamed>(out + 3, _mm_unpackhi_epi16(bgHigh, raHigh));
    }
    // Streamed stores are weakly ordered: done before anyone reads the pixels.
    if constexpr (kStreamed) _mm_sfence();
#endif
    for (; i < n; ++i) pixels[i] = pack(a ? a[i] : kOpaque, r[i], g[i], b[i]);
}

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
    if (colour_mode == 3 && depth == 8 && p.c[0] && p.c[1] && p.c[2]) {
        if (p.streamed)
            combine_rgb8<true>(p.c[0], p.c[1], p.c[2], p.alpha, p.count, pixels);
        else
            combine_rgb8<false>(p.c[0], p.c[1], p.c[2], p.alpha, p.count, pixels);
        return true;
    }
    const size_t step = depth == 16 ? 2 : 1;
    auto src = [step](const uint8_t* plane, const uint8_t* absent) {
        return plane ? Src{plane, step} : Src{absent, 0};
    };
    const Src c0 = src(p.c[0], &kZero), c1 = src(p.c[1], &kZero), c2 = src(p.c[2], &kZero),
              c3 = src(p.c[3], &kZero), a = src(p.alpha, &kOpaque);
    const size_t n = p.count;
    switch (colour_mode) {
    case 1:
    case 8:
        for (size_t i = 0; i < n; ++i) pixels[i] = uint32_t(a[i]) << 24 | uint32_t(c0[i]) * 0x010101u;
        return true;
    case 2:
        for (size_t i = 0; i < n; ++i) {
            int c = c0[i];
            bool ok = c < table_size && table &&
                      (!indexed_checks || (c < indexed_count && c != transparent_index));
            pixels[i] = ok ? table[c] : 0x00FFFFFFu;
        }
        return true;
    case 3:
        for (size_t i = 0; i < n; ++i) pixels[i] = pack(a[i], c0[i], c1[i], c2[i]);
        return true;
    case 4:
        for (size_t i = 0; i < n; ++i)
            pixels[i] = psdr_cmyk_alpha_to_argb(a[i], 255 - c0[i], 255 - c1[i], 255 - c2[i], 255 - c3[i]);
        return true;
    case 7:
        // The fourth channel, when present, is the fourth ink.
        for (size_t i = 0; i < n; ++i)
            pixels[i] = psdr_cmyk_to_argb(255 - c0[i], 255 - c1[i], 255 - c2[i], p.alpha ? 255 - a[i] : 0);
        return true;
    case 9:
        for (size_t i = 0; i < n; ++i) {
            pixels[i] = psdr_lab_to_argb(a[i], c0[i] * 100 >> 8, c1[i] - 128, c2[i] - 128);
        }
        return true;
    default:
        return false;
    }
}
