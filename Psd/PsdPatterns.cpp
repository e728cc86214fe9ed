// Patterns of the global "Patt"/"Pat2" blocks: small images of their own,
// stored as a list of channels.

#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

constexpr size_t kChannelScratchFloor = 0x3000;
constexpr size_t kCompressedScratchFloor = 4096;

int planes_for_mode(int mode) {
    switch (mode) {
    case 1:
    case 8: return 2;
    case 3:
    case 7:
    case 9: return 4;
    case 4: return 5;
    default: return 1;
    }
}

psdr_pattern* next_pattern(psdr_image* image) {
    if (image->pattern_count == image->pattern_capacity) {
        const int32_t capacity = image->pattern_capacity < 4 ? 4 : image->pattern_capacity * 2;
        auto* grown = static_cast<psdr_pattern*>(psdr_alloc(image, size_t(capacity) * sizeof(psdr_pattern)));
        if (!grown) return nullptr;
        if (image->patterns)
            std::memcpy(grown, image->patterns, size_t(image->pattern_count) * sizeof(psdr_pattern));
        psdr_mem_release(image->patterns);
        image->patterns = grown;
        image->pattern_capacity = capacity;
    }
    psdr_pattern* pattern = &image->patterns[image->pattern_count];
    std::memset(pattern, 0, sizeof *pattern);
    return pattern;
}

void release_pattern(psdr_pattern* pattern) {
    psdr_mem_release(pattern->name);
    psdr_mem_release(pattern->pixels);
    std::memset(pattern, 0, sizeof *pattern);
}

psdr_status read_channels(psdr_image* image, psdr_pattern* pattern, int* first_depth) {
    const int w = uint16_t(pattern->width), h = uint16_t(pattern->height);
    const int capacity = planes_for_mode(pattern->colour_mode);
    const uint32_t count = psdr_stream_u32(image);
    size_t plane = 0;
    bool sized = false;
    for (uint32_t i = 0; i < count && psdr_bytes_left(image) > 12; ++i) {
        const bool written = (psdr_stream_u32(image) & 0xFF) == 1;
        const int64_t length = psdr_stream_u32(image);
        if (length < 23) continue;
        if (psdr_status s = psdr_limit_push(image, length)) return s;
        const int depth = int(psdr_stream_u32(image));
        psdr_stream_skip(image, 18);
        const int compression = psdr_stream_u8(image);
        psdr_status status = PSDR_OK;
        // Channels past the planes the scratch holds are dropped.
        if (written && pattern->channel_count < capacity) {
            if (!sized) {
                *first_depth = depth;
                plane = psdr_plane_size(w, h, image->depth);
                image->plane_size = plane;
                status = psdr_scratch_reserve(image, &image->channel_scratch,
                                              &image->channel_scratch_capacity,
                                              plane * size_t(capacity), kChannelScratchFloor);
                if (status == PSDR_OK) std::memset(image->channel_scratch, 0, plane * size_t(capacity));
                sized = true;
            }
            const size_t payload = size_t(length - 23);
            if (status == PSDR_OK)
                status = psdr_scratch_reserve(image, &image->compressed_scratch,
                                              &image->compressed_scratch_capacity, payload,
                                              kCompressedScratchFloor);
            if (status == PSDR_OK &&
                psdr_stream_read(image, image->compressed_scratch, int64_t(payload)) < int64_t(payload))
                status = PSDR_READ_ERROR;
            if (status == PSDR_OK && plane > 0)
                status = psdr_decode_plane(image->compressed_scratch, payload, compression, size_t(h),
                                           size_t(w), image->depth,
                                           image->channel_scratch + size_t(pattern->channel_count) * plane,
                                           plane);
            if (status == PSDR_OK) ++pattern->channel_count;
        }
        psdr_limit_pop(image);
        if (status != PSDR_OK) return status;
    }
    return PSDR_OK;
}

psdr_status read_body(psdr_image* image, psdr_pattern* pattern, uint32_t** palette) {
    pattern->colour_mode = int32_t(psdr_stream_u32(image));
    const int mode = pattern->colour_mode;
    if (mode < 0 || mode > 9 || mode == 5 || mode == 6) return PSDR_BAD_COLOUR_MODE;
    const int h = psdr_stream_u16(image), w = psdr_stream_u16(image);
    if (h > PSDR_MAX_DIMENSION || w > PSDR_MAX_DIMENSION) return PSDR_READ_ERROR;
    pattern->height = int16_t(h);
    pattern->width = int16_t(w);
    if (psdr_status s = psdr_read_unicode(image, &pattern->name_length, &pattern->name)) return s;
    const uint8_t n = psdr_stream_u8(image);
    psdr_stream_read(image, pattern->identifier, n);
    if (mode == 2) {
        uint8_t rgb[768] = {};
        *palette = static_cast<uint32_t*>(psdr_alloc(image, 256 * sizeof(uint32_t)));
        if (!*palette) return PSDR_NO_MEMORY;
        psdr_stream_read(image, rgb, sizeof rgb);
        for (int i = 0; i < 256; ++i) (*palette)[i] = psdr_pack_rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    }
    pattern->list_version = int32_t(psdr_stream_u32(image));
    psdr_stream_u32(image);
    pattern->top = int16_t(psdr_stream_u32(image));
    pattern->left = int16_t(psdr_stream_u32(image));
    pattern->bottom = int16_t(psdr_stream_u32(image));
    pattern->right = int16_t(psdr_stream_u32(image));
    int first_depth = 0;
    if (psdr_status s = read_channels(image, pattern, &first_depth)) return s;

    const size_t count = size_t(w) * size_t(h);
    if (count == 0) return PSDR_OK;
    pattern->pixels = static_cast<uint32_t*>(psdr_alloc(image, count * sizeof(uint32_t)));
    if (!pattern->pixels) return PSDR_NO_MEMORY;
    if (pattern->channel_count == 0) return PSDR_OK;
    const size_t plane = image->plane_size;
    const int np = pattern->channel_count;
    auto at = [&](int k) -> const uint8_t* {
        return k < np ? image->channel_scratch + size_t(k) * plane : nullptr;
    };
    psdr_planes planes{};
    planes.count = count;
    planes.width = w;
    planes.height = h;
    planes.depth = mode == 0 ? (first_depth == 1 ? 1 : 0) : image->depth;
    const bool alpha = (np == 2 && (mode == 1 || mode == 8)) || (np == 4 && (mode == 3 || mode == 9)) ||
                       (np == 5 && mode == 4);
    if (mode == 7) {
        for (int k = 0; k < 3; ++k) planes.c[k] = at(k);
        planes.alpha = np == 4 ? at(3) : nullptr;
    } else {
        planes.alpha = alpha ? at(0) : nullptr;
        for (int k = 0; k < 4; ++k) planes.c[k] = at(k + (alpha ? 1 : 0));
    }
    // Unfilled pixels stay zero.
    psdr_combine(planes, mode, *palette, *palette ? 256 : 0, 0, 0, false, pattern->pixels);
    return PSDR_OK;
}

}  // namespace

psdr_status psdr_read_pattern(psdr_image* image) {
    const int64_t length = psdr_stream_u32(image);
    if (psdr_status s = psdr_limit_push(image, (length + 3) & ~int64_t(3))) return s;
    psdr_status status = PSDR_OK;
    if (psdr_stream_u32(image) != 1) {
        status = PSDR_BAD_PATTERN_VERSION;
    } else if (psdr_pattern* pattern = next_pattern(image)) {
        uint32_t* palette = nullptr;
        status = read_body(image, pattern, &palette);
        psdr_mem_release(palette);
        if (status == PSDR_OK) ++image->pattern_count;
        else release_pattern(pattern);
    } else {
        status = PSDR_NO_MEMORY;
    }
    psdr_limit_pop(image);
    return status;
}

void psdr_free_patterns(psdr_image* image) {
    if (image->patterns)
        for (int i = 0; i < image->pattern_count; ++i) release_pattern(&image->patterns[i]);
    psdr_mem_release(image->patterns);
    image->patterns = nullptr;
    image->pattern_count = 0;
    image->pattern_capacity = 0;
}
