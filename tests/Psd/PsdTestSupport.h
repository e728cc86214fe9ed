#pragma once
// Shared helpers of the decoder tests.

#include <cstdio>
#include <cstring>

#include "Psd/PsdInternal.h"
#include "PsdWriter.h"

namespace psdtest {

// Owns a loaded image.
struct Image {
    psdr_image* p = nullptr;
    ~Image() {
        if (p) psdr_free(p);
    }
    psdr_image* operator->() const { return p; }
};

// An image record reading `bytes` through the stream, as a load does.
struct StreamImage {
    psdr_image image{};
    Bytes bytes;
    explicit StreamImage(Bytes b) : bytes(std::move(b)) {
        image.file = fmemopen(bytes.data(), bytes.size(), "r");
        image.file_length = int64_t(bytes.size());
        image.budget = size_t(64) << 20;
    }
    ~StreamImage() { psdr_stream_close(&image); }
    psdr_image* operator->() { return &image; }
    psdr_image* get() { return &image; }
};

// An 8-bit RGB layer of w x h with the given channels (planes raw unless set).
inline Layer RgbLayer(int top, int left, int w, int h, const std::string& name, unsigned seed,
                      bool alpha = true, int compression = 0) {
    Layer l;
    l.top = top;
    l.left = left;
    l.bottom = top + h;
    l.right = left + w;
    l.name = name;
    const size_t n = size_t(w) * size_t(h);
    if (alpha) l.channels.push_back({-1, Ramp(n, seed + 100), compression});
    for (int c = 0; c < 3; ++c) l.channels.push_back({int16_t(c), Ramp(n, seed + unsigned(c)), compression});
    return l;
}

// Expected ARGB of an 8-bit RGB layer written by RgbLayer.
inline std::vector<uint32_t> RgbPixels(const Layer& l) {
    const Channel* a = nullptr;
    const Channel* c[3] = {};
    for (const Channel& ch : l.channels) {
        if (ch.id == -1) a = &ch;
        if (ch.id >= 0 && ch.id < 3) c[ch.id] = &ch;
    }
    size_t n = size_t(l.right - l.left) * size_t(l.bottom - l.top);
    std::vector<uint32_t> out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = uint32_t(a ? a->plane[i] : 255) << 24 | uint32_t(c[0]->plane[i]) << 16 |
                 uint32_t(c[1]->plane[i]) << 8 | c[2]->plane[i];
    return out;
}

inline std::vector<uint32_t> PixelsOf(const psdr_layer& l) {
    if (!l.pixels) return {};
    return std::vector<uint32_t>(l.pixels, l.pixels + size_t(l.width) * size_t(l.height));
}

// A small RGB document with the given layers.
inline Document RgbDocument(uint32_t w, uint32_t h, std::vector<Layer> layers) {
    Document d;
    d.width = w;
    d.height = h;
    d.layers = std::move(layers);
    return d;
}

}  // namespace psdtest
