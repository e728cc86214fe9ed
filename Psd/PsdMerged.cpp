// Image data: the merged picture, the alpha-channel planes, and the one layer
// a document without layers offers.

#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

int own_channels(int mode) {
    switch (mode) {
    case 1:
    case 8: return 1;
    case 3:
    case 9: return 3;
    case 4: return 4;
    default: return -1;
    }
}

psdr_status make_flat_layer(psdr_image* image) {
    const int w = image->width, h = image->height, nc = image->colour_channel_count;
    auto* layer = static_cast<psdr_layer*>(psdr_alloc(image, sizeof(psdr_layer)));
    if (!layer) return PSDR_NO_MEMORY;
    image->layers = layer;
    image->layer_count = 1;
    psdr_layer_defaults(layer);
    layer->bottom = h;
    layer->right = w;
    layer->width = w;
    layer->height = h;
    layer->visible = 1;
    layer->grey_blend_ranges[1] = 0xFFFF;
    layer->grey_blend_ranges[3] = 0xFFFF;
    if (nc > 0) {
        const size_t n = size_t(nc);
        layer->channels = static_cast<psdr_channel*>(psdr_alloc(image, n * sizeof(psdr_channel)));
        layer->blend_source_black = static_cast<int16_t*>(psdr_alloc(image, n * 2));
        layer->blend_source_white = static_cast<int16_t*>(psdr_alloc(image, n * 2));
        layer->blend_dest_black = static_cast<int16_t*>(psdr_alloc(image, n * 2));
        layer->blend_dest_white = static_cast<int16_t*>(psdr_alloc(image, n * 2));
        if (!layer->channels || !layer->blend_source_black || !layer->blend_source_white ||
            !layer->blend_dest_black || !layer->blend_dest_white)
            return PSDR_NO_MEMORY;
        layer->channel_count = int16_t(nc);
        layer->blend_channel_count = nc;
        const bool alpha_first = (image->colour_mode == 3 && nc == 4) || (image->colour_mode == 4 && nc == 5);
        for (int i = 0; i < nc; ++i) {
            layer->channels[i].id = int16_t(alpha_first ? i - 1 : i);
            layer->blend_source_white[i] = -1;
            layer->blend_dest_white[i] = -1;
        }
    }
    if (!image->merged_image) return PSDR_OK;
    if (image->load_tag == 2) {
        layer->pixels = image->merged_image;
        image->merged_image = nullptr;
        return PSDR_OK;
    }
    const size_t bytes = size_t(w) * size_t(h) * sizeof(uint32_t);
    layer->pixels = static_cast<uint32_t*>(psdr_alloc_unset(image, bytes));
    if (!layer->pixels) return PSDR_NO_MEMORY;
    std::memcpy(layer->pixels, image->merged_image, bytes);
    return PSDR_OK;
}

psdr_status decode_planes(psdr_image* image, int compression, size_t p, size_t n) {
    const size_t total = p * n;
    if (compression == 0) {
        // Short data leaves the rest zero.
        psdr_stream_read(image, image->channel_scratch, int64_t(total));
        return PSDR_OK;
    }
    if (compression > 3) return PSDR_BAD_COMPRESSION;
    const int64_t left = psdr_file_remaining(image);
    const size_t rows = size_t(image->height) * n;
    if (compression == 1 && int64_t(rows * 2) > left) return PSDR_READ_ERROR;
    // The layers' payload scratch when it has room: its pages are mapped
    // already. Read over at once; only the bytes read are decoded.
    const bool reuse = image->compressed_scratch && image->compressed_scratch_capacity >= size_t(left);
    uint8_t* data = reuse ? image->compressed_scratch : static_cast<uint8_t*>(psdr_alloc_unset(image, size_t(left)));
    if (!data) return PSDR_NO_MEMORY;
    const size_t got = size_t(psdr_stream_read(image, data, left));
    psdr_status status = psdr_decode_plane(data, got, compression, rows, size_t(image->width),
                                           image->depth, image->channel_scratch, total);
    if (!reuse) psdr_mem_free(data);
    return status;
}

}  // namespace

psdr_status psdr_read_image_data(psdr_image* image) {
    const int tag = image->load_tag;
    if (tag == 4 || tag == 5) return PSDR_OK;
    if (tag == 2 && image->layer_count > 0) return PSDR_OK;
    const int w = image->width, h = image->height, depth = image->depth;
    const size_t n = image->channel_count;
    const int nc = image->colour_channel_count;
    const size_t p = psdr_plane_size(w, h, depth);
    image->plane_size = p;
    const int compression = psdr_stream_u16(image);
    if (compression > 3) return PSDR_BAD_COMPRESSION;
    size_t total;
    if (!psdr_mul(p, n, &total)) return PSDR_NO_MEMORY;
    // The row table must be there before the planes are sized for it.
    if (compression == 1 && int64_t(size_t(h) * n * 2) > psdr_file_remaining(image))
        return PSDR_READ_ERROR;
    // The layers' planes scratch is reused when it has room (its pages are
    // mapped already); one too small is replaced, not leaked.
    if (total > 0 && (!image->channel_scratch || image->channel_scratch_capacity < total)) {
        psdr_mem_release(image->channel_scratch);
        image->channel_scratch = static_cast<uint8_t*>(psdr_alloc_unset(image, total));
        image->channel_scratch_capacity = image->channel_scratch ? total : 0;
    }
    if (total > 0) {
        if (!image->channel_scratch) {
            psdr_free_scratch(image);
            return PSDR_NO_MEMORY;
        }
        // Raw data may stop short and leave zeros; the decoders write every byte.
        if (compression == 0) std::memset(image->channel_scratch, 0, total);
        psdr_status status = decode_planes(image, compression, p, n);
        if (status != PSDR_OK) {
            psdr_free_scratch(image);
            return status;
        }
    }
    const size_t count = size_t(w) * size_t(h);
    if (count > 0) {
        image->merged_image = static_cast<uint32_t*>(psdr_alloc_unset(image, count * sizeof(uint32_t)));
        if (!image->merged_image) {
            psdr_free_scratch(image);
            return PSDR_NO_MEMORY;
        }
        auto plane = [&](size_t k) -> const uint8_t* {
            return k < n ? image->channel_scratch + k * p : nullptr;
        };
        psdr_planes planes{};
        const bool alpha = nc == own_channels(image->colour_mode) + 1 ||
                           (image->colour_mode == 7 && nc == 4);
        if (image->colour_mode == 7) {
            // The fourth plane is the fourth ink, not an alpha.
            for (size_t k = 0; k < 3; ++k) planes.c[k] = plane(k);
            planes.alpha = nc == 4 ? plane(3) : nullptr;
        } else {
            const size_t first = alpha ? 1 : 0;
            planes.alpha = alpha ? plane(0) : nullptr;
            for (size_t k = 0; k < 4; ++k) planes.c[k] = plane(first + k);
        }
        planes.count = count;
        planes.width = w;
        planes.height = h;
        planes.depth = depth;
        // A mode and depth without a combiner leave the pixels transparent black.
        if (!psdr_combine(planes, image->colour_mode, image->colour_table, image->colour_table_size,
                          image->indexed_colour_count, image->transparent_index, true,
                          image->merged_image))
            std::memset(image->merged_image, 0, count * sizeof(uint32_t));

        for (int k = nc; k < int(n) && k - nc < image->alpha_channel_count; ++k) {
            psdr_alpha_channel& channel = image->alpha_channels[k - nc];
            channel.plane = static_cast<uint8_t*>(psdr_alloc(image, count));
            if (!channel.plane) {
                psdr_free_scratch(image);
                return PSDR_NO_MEMORY;
            }
            const uint8_t* src = plane(size_t(k));
            if (depth == 1) {
                // Depth 1 planes hold bits; each becomes 255 or 0.
                const size_t row = (size_t(w) + 7) / 8;
                for (size_t i = 0; i < count; ++i) {
                    const size_t x = i % size_t(w), y = i / size_t(w);
                    channel.plane[i] = (src[y * row + x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
                }
            } else {
                const size_t step = depth == 16 ? 2 : 1;
                for (size_t i = 0; i < count; ++i) channel.plane[i] = src[i * step];
            }
        }
    }
    psdr_free_scratch(image);
    if (image->layer_count > 0 || (tag != 0 && tag != 2)) return PSDR_OK;
    return make_flat_layer(image);
}

void psdr_free_merged(psdr_image* image) {
    psdr_mem_release(image->merged_image);
    image->merged_image = nullptr;
    psdr_mem_release(image->channel_scratch);
    image->channel_scratch = nullptr;
    image->channel_scratch_capacity = 0;
}
