// File header and colour mode data.

#include <cstring>

#include "Psd/PsdInternal.h"

psdr_status psdr_read_header(psdr_image* image) {
    uint8_t h[26];
    if (psdr_stream_read(image, h, 26) < 26) return PSDR_READ_ERROR;
    if (std::memcmp(h, "8BPS", 4) != 0) return PSDR_BAD_SIGNATURE;
    if ((h[4] << 8 | h[5]) != 1) return PSDR_BAD_VERSION;
    auto u32 = [&h](int at) {
        return uint32_t(h[at]) << 24 | uint32_t(h[at + 1]) << 16 | uint32_t(h[at + 2]) << 8 |
               h[at + 3];
    };
    uint16_t channels = uint16_t(h[12] << 8 | h[13]);
    uint32_t rows = u32(14);
    uint32_t columns = u32(18);
    image->channel_count = channels;
    image->colour_channel_count = int16_t(channels);
    image->height = int32_t(rows);
    image->width = int32_t(columns);
    image->depth = int16_t(h[22] << 8 | h[23]);
    if (image->depth != 1 && image->depth != 8 && image->depth != 16) return PSDR_BAD_DEPTH;
    image->colour_mode = h[24] << 8 | h[25];
    int mode = image->colour_mode;
    if (mode > 9 || mode == 5 || mode == 6) return PSDR_BAD_COLOUR_MODE;
    // The format's own limits; beyond them every size below would be unbounded.
    if (rows > PSDR_MAX_DIMENSION || columns > PSDR_MAX_DIMENSION) return PSDR_READ_ERROR;
    if (channels < 1 || channels > PSDR_MAX_CHANNELS) return PSDR_READ_ERROR;
    return PSDR_OK;
}

psdr_status psdr_read_colour_mode_data(psdr_image* image) {
    int64_t length = psdr_stream_u32(image);
    if (length == 0 || length > INT32_MAX) return length == 0 ? PSDR_OK : PSDR_READ_ERROR;
    if (length > psdr_file_remaining(image)) return PSDR_READ_ERROR;
    psdr_status status = psdr_limit_push(image, length);
    if (status != PSDR_OK) return status;
    size_t size = size_t(length / 3);
    if (size > 0) {
        image->colour_table = static_cast<uint32_t*>(psdr_alloc(image, size * sizeof(uint32_t)));
        uint8_t* planes = static_cast<uint8_t*>(psdr_alloc(image, 3 * size));
        if (!image->colour_table || !planes) {
            psdr_mem_release(planes);
            psdr_free_colour_table(image);
            psdr_limit_pop(image);
            return PSDR_NO_MEMORY;
        }
        image->colour_table_size = int32_t(size);
        psdr_stream_read(image, planes, int64_t(3 * size));
        for (size_t i = 0; i < size; ++i)
            image->colour_table[i] = psdr_pack_rgb(planes[i], planes[size + i], planes[2 * size + i]);
        psdr_mem_free(planes);
    }
    // A length that is not a multiple of 3 must not misalign the next section.
    psdr_limit_pop(image);
    return PSDR_OK;
}

void psdr_free_colour_table(psdr_image* image) {
    psdr_mem_release(image->colour_table);
    image->colour_table = nullptr;
    image->colour_table_size = 0;
}
