// Channel data of one layer: decode every channel into a plane, then combine
// the planes into ARGB pixels and copy the user mask.

#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

constexpr size_t kChannelScratchFloor = 0x3000;
constexpr size_t kCompressedScratchFloor = 4096;

// The user mask's channel: -3 when the mask data carried its second rectangle.
int16_t mask_channel_id(const psdr_layer* layer) { return layer->mask_second_form ? -3 : -2; }

const uint8_t* plane_of(const psdr_image* image, const psdr_layer* layer, int16_t id) {
    const uint8_t* found = nullptr;
    for (int i = 0; i < layer->channel_count; ++i)
        if (layer->channels[i].id == id) found = image->channel_scratch + size_t(i) * image->plane_stride;
    return found;
}

psdr_status copy_user_mask(psdr_image* image, psdr_layer* layer, int step) {
    const int16_t id = mask_channel_id(layer);
    for (int i = 0; i < layer->channel_count; ++i) {
        if (layer->channels[i].id != id) continue;
        size_t n = size_t(layer->mask_width) * size_t(layer->mask_height);
        layer->user_mask = static_cast<uint8_t*>(psdr_alloc(image, n));
        if (!layer->user_mask) return PSDR_NO_MEMORY;
        const uint8_t* plane = image->channel_scratch + size_t(i) * image->plane_stride;
        for (size_t k = 0; k < n; ++k) layer->user_mask[k] = plane[k * size_t(step)];
        return PSDR_OK;
    }
    return PSDR_OK;
}

}  // namespace

psdr_status psdr_layer_mask8(psdr_image* image, psdr_layer* layer) {
    return copy_user_mask(image, layer, 1);
}

psdr_status psdr_layer_mask16(psdr_image* image, psdr_layer* layer) {
    return copy_user_mask(image, layer, 2);
}

namespace {

// A channel's compressed bytes, read ahead into the compressed scratch.
struct Payload {
    int compression;
    size_t offset;
    size_t size;
    bool present; // two bytes or more after the compression: decoded
};

// Combined row by row: 8-bit RGB layers whose channels are colour and alpha
// only. Every other layer decodes whole planes first.
bool combines_by_rows(const psdr_image* image, const psdr_layer* layer) {
    if (image->depth != 8 || image->colour_mode != 3 || layer->width <= 0 || layer->height <= 0)
        return false;
    for (int i = 0; i < layer->channel_count; ++i)
        if (layer->channels[i].id < -1) return false;
    return layer->channel_count <= PSDR_MAX_CHANNELS;
}

// The planes way over payloads already read: channels [0, upto) decode in
// order and the first failure wins, else `failure`; with every channel read
// and decoded, the planes are combined into the layer's pixels.
psdr_status combine_planes(psdr_image* image, psdr_layer* layer, const Payload* payloads, int upto,
                           psdr_status failure, uint32_t* pixels) {
    const size_t w = size_t(layer->width), h = size_t(layer->height);
    const size_t p = w * h;
    size_t needed;
    if (!psdr_mul(p, size_t(layer->channel_count), &needed)) return PSDR_NO_MEMORY;
    if (psdr_status s = psdr_scratch_reserve(image, &image->channel_scratch,
                                             &image->channel_scratch_capacity, needed,
                                             kChannelScratchFloor))
        return s;
    image->plane_size = p;
    image->plane_stride = p;
    for (int i = 0; i < upto; ++i) {
        const Payload& payload = payloads[i];
        uint8_t* plane = image->channel_scratch + size_t(i) * p;
        if (!payload.present) {
            std::memset(plane, 0, p);
            continue;
        }
        if (psdr_status s = psdr_decode_plane(image->compressed_scratch + payload.offset, payload.size,
                                              payload.compression, h, w, 8, plane, p))
            return s;
    }
    if (failure != PSDR_OK) return failure;
    if (!pixels) pixels = static_cast<uint32_t*>(psdr_alloc_unset(image, p * sizeof(uint32_t)));
    if (!pixels) return PSDR_NO_MEMORY;
    layer->pixels = pixels;
    psdr_planes planes{};
    for (int k = 0; k < 4; ++k) planes.c[k] = plane_of(image, layer, int16_t(k));
    planes.alpha = plane_of(image, layer, -1);
    planes.count = p;
    planes.width = int(w);
    planes.height = int(h);
    planes.depth = 8;
    psdr_combine(planes, image->colour_mode, image->colour_table, image->colour_table_size,
                 image->indexed_colour_count, image->transparent_index, true, pixels);
    return PSDR_OK;
}

// Row by row: no full-size planes, each row of every channel decoded and
// combined while it is in the cache. Anything a row decoder refuses goes the
// planes way over the same bytes, so the result and the failures are the same.
// The compressed scratch holds every payload.
psdr_status combine_rows(psdr_image* image, psdr_layer* layer) {
    const int count = layer->channel_count;
    const size_t w = size_t(layer->width), h = size_t(layer->height);
    Payload payloads[PSDR_MAX_CHANNELS] = {};
    size_t used = 0;
    int read = 0;
    psdr_status failure = PSDR_OK;
    for (; read < count; ++read) {
        const int64_t length = uint32_t(layer->channels[read].length);
        if ((failure = psdr_limit_push(image, length)) != PSDR_OK) break;
        Payload& payload = payloads[read];
        payload.compression = psdr_stream_u16(image);
        if (length >= 3) {
            payload.present = true;
            payload.offset = used;
            payload.size = size_t(length - 2);
            if (psdr_stream_read(image, image->compressed_scratch + used, int64_t(payload.size)) <
                int64_t(payload.size))
                failure = PSDR_READ_ERROR;
            used += payload.size;
        }
        psdr_limit_pop(image);
        if (failure != PSDR_OK) break;
    }
    if (failure != PSDR_OK) return combine_planes(image, layer, payloads, read, failure, nullptr);
    // Zip channels inflate as whole planes.
    for (int i = 0; i < count; ++i)
        if (payloads[i].present && payloads[i].compression >= 2)
            return combine_planes(image, layer, payloads, count, PSDR_OK, nullptr);

    auto* pixels = static_cast<uint32_t*>(psdr_alloc_unset(image, w * h * sizeof(uint32_t)));
    if (!pixels) return combine_planes(image, layer, payloads, count, PSDR_NO_MEMORY, nullptr);
    // The layer owns them from here: a failure frees them with the layer.
    layer->pixels = pixels;
    // Rows have room past their width for the block-wise runs.
    constexpr size_t kRowSlack = 64;
    const size_t stride = w + kRowSlack;
    auto* rows = static_cast<uint8_t*>(psdr_mem_alloc_unset(stride * size_t(count + 1)));
    if (!rows) return PSDR_NO_MEMORY;
    uint8_t* zeros = rows + stride * size_t(count);
    std::memset(zeros, 0, w);
    auto row_of = [&](int i) { return payloads[i].present ? rows + stride * size_t(i) : zeros; };
    psdr_planes planes{};
    for (int i = 0; i < count; ++i) {
        const int16_t id = layer->channels[i].id;
        if (id >= 0 && id < 4) planes.c[id] = row_of(i);
        if (id == -1) planes.alpha = row_of(i);
    }
    planes.count = w;
    planes.width = int(w);
    planes.height = 1;
    planes.depth = 8;

    psdr_rows decoders[PSDR_MAX_CHANNELS];
    bool whole = true;
    for (int i = 0; whole && i < count; ++i)
        if (payloads[i].present)
            whole = psdr_rows_start(&decoders[i], payloads[i].compression,
                                    image->compressed_scratch + payloads[i].offset, payloads[i].size, h, w);
    for (size_t y = 0; whole && y < h; ++y) {
        for (int i = 0; whole && i < count; ++i)
            if (payloads[i].present) whole = psdr_rows_next(&decoders[i], row_of(i), stride);
        if (whole)
            psdr_combine(planes, image->colour_mode, image->colour_table, image->colour_table_size,
                         image->indexed_colour_count, image->transparent_index, true, pixels + y * w);
    }
    psdr_mem_free(rows);
    if (!whole) return combine_planes(image, layer, payloads, count, PSDR_OK, pixels);
    return PSDR_OK;
}

// A plane per channel, read and decoded channel after channel.
psdr_status read_planes(psdr_image* image, psdr_layer* layer) {
    const int depth = image->depth;
    const int64_t w = layer->width, h = layer->height;
    const int64_t mw = layer->mask_width, mh = layer->mask_height;
    const size_t p = psdr_plane_size(w, h, depth);
    const size_t m = depth == 1 ? 0 : psdr_plane_size(mw, mh, depth);
    const size_t t = p > m ? p : m;

    // Every channel must lie inside the layer information before anything is sized.
    int64_t total = 0;
    for (int i = 0; i < layer->channel_count; ++i) total += uint32_t(layer->channels[i].length);
    if (total > psdr_limit_remaining(image)) return PSDR_READ_ERROR;
    if (t == 0) {
        psdr_stream_skip(image, total);
        return PSDR_OK;
    }

    size_t needed;
    if (!psdr_mul(t, size_t(layer->channel_count), &needed)) return PSDR_NO_MEMORY;
    if (needed > 0) {
        if (psdr_status s = psdr_scratch_reserve(image, &image->channel_scratch,
                                                 &image->channel_scratch_capacity, needed,
                                                 kChannelScratchFloor))
            return s;
    }
    image->plane_size = p;
    image->plane_stride = t;

    for (int i = 0; i < layer->channel_count; ++i) {
        const psdr_channel& channel = layer->channels[i];
        const int64_t length = uint32_t(channel.length);
        if (psdr_status s = psdr_limit_push(image, length)) return s;
        const int compression = psdr_stream_u16(image);
        psdr_status status = PSDR_OK;
        const bool skipped = layer->mask_second_form && channel.id == -2;
        uint8_t* plane = image->channel_scratch + size_t(i) * t;
        const bool mask = channel.id == mask_channel_id(layer);
        const size_t size = mask ? m : p;
        // Empty or skipped channels read as zeros, never as the previous
        // layer's planes; the decoders write whole planes themselves.
        if (length < 3 || skipped || size == 0) std::memset(plane, 0, t);
        if (length >= 3 && !skipped) {
            const size_t payload = size_t(length - 2);
            status = psdr_scratch_reserve(image, &image->compressed_scratch,
                                          &image->compressed_scratch_capacity, payload,
                                          kCompressedScratchFloor);
            if (status == PSDR_OK &&
                psdr_stream_read(image, image->compressed_scratch, int64_t(payload)) < int64_t(payload))
                status = PSDR_READ_ERROR;
            if (status == PSDR_OK) {
                if (size > 0)
                    status = psdr_decode_plane(image->compressed_scratch, payload, compression,
                                               size_t(mask ? mh : h), size_t(mask ? mw : w), depth,
                                               plane, size);
                else if (compression > 3)
                    status = PSDR_BAD_COMPRESSION;
            }
        }
        psdr_limit_pop(image);
        if (status != PSDR_OK) return status;
    }

    if (w * h > 0) {
        const size_t bytes = size_t(w * h) * sizeof(uint32_t);
        layer->pixels = static_cast<uint32_t*>(psdr_alloc_unset(image, bytes));
        if (!layer->pixels) return PSDR_NO_MEMORY;
        psdr_planes planes{};
        for (int k = 0; k < 4; ++k) planes.c[k] = plane_of(image, layer, int16_t(k));
        planes.alpha = plane_of(image, layer, -1);
        planes.count = size_t(w * h);
        planes.width = int(w);
        planes.height = int(h);
        planes.depth = depth;
        // A mode and depth without a combiner leave the pixels transparent black.
        if (!psdr_combine(planes, image->colour_mode, image->colour_table, image->colour_table_size,
                          image->indexed_colour_count, image->transparent_index, true, layer->pixels))
            std::memset(layer->pixels, 0, bytes);
    }

    if (mw * mh > 0 && depth == 8) return psdr_layer_mask8(image, layer);
    if (mw * mh > 0 && depth == 16) return psdr_layer_mask16(image, layer);
    return PSDR_OK;
}

}  // namespace

psdr_status psdr_read_layer_channels(psdr_image* image, psdr_layer* layer) {
    if (combines_by_rows(image, layer)) {
        int64_t total = 0;
        size_t payload_total = 0;
        for (int i = 0; i < layer->channel_count; ++i) {
            const int64_t length = uint32_t(layer->channels[i].length);
            total += length;
            if (length >= 3) payload_total += size_t(length - 2);
        }
        // Every channel must lie inside the layer information before anything is sized.
        if (total > psdr_limit_remaining(image)) return PSDR_READ_ERROR;
        // Without room for every payload at once, the planes way reports what it always did.
        if (psdr_scratch_reserve(image, &image->compressed_scratch, &image->compressed_scratch_capacity,
                                 payload_total ? payload_total : 1, kCompressedScratchFloor) == PSDR_OK)
            return combine_rows(image, layer);
    }
    return read_planes(image, layer);
}
