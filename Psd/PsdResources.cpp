// Image resources: the tagged blocks of resolution, alpha channels, thumbnail and more.

#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

bool wanted(psdr_load_tag tag, unsigned id) {
    switch (tag) {
    case 2: return id != 1033 && id != 1036;
    case 3: return id == 1006 || id == 1045 || id == 1053;
    case 4: return id == 1033 || id == 1036;
    case 5: return id == 1058 || id == 1059;
    default: return true;
    }
}

uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Entries of a 1006 list; each is a length byte and its name.
int count_pascal_names(const uint8_t* data, size_t size) {
    int count = 0;
    size_t pos = 0;
    while (pos + 1 < size) {
        ++count;
        pos += size_t(data[pos]) + 1;
    }
    return count;
}

// Entries of a 1045 list that lie wholly inside the data.
int count_unicode_names(const uint8_t* data, size_t size) {
    int count = 0;
    size_t pos = 0;
    while (pos + 4 <= size) {
        uint64_t chars = be32(data + pos);
        if (chars > (size - pos - 4) / 2) break;
        pos += 4 + size_t(chars) * 2;
        ++count;
    }
    return count;
}

// The first alpha resource decides how many alpha channels there are.
psdr_status ensure_alpha_channels(psdr_image* image, int count) {
    if (image->alpha_info_present) return PSDR_OK;
    image->alpha_info_present = 1;
    if (count < 0) count = 0;
    if (count > image->channel_count) count = image->channel_count;
    image->alpha_channel_count = int16_t(count);
    image->colour_channel_count = int16_t(image->channel_count - count);
    if (count == 0) return PSDR_OK;
    image->alpha_channels = static_cast<psdr_alpha_channel*>(
        psdr_alloc(image, size_t(count) * sizeof(psdr_alpha_channel)));
    if (!image->alpha_channels) {
        image->alpha_channel_count = 0;
        return PSDR_NO_MEMORY;
    }
    return PSDR_OK;
}

psdr_status read_block_data(psdr_image* image, int64_t size, uint8_t** data) {
    *data = static_cast<uint8_t*>(psdr_alloc(image, size_t(size)));
    if (!*data) return PSDR_NO_MEMORY;
    psdr_stream_read(image, *data, size);
    return PSDR_OK;
}

psdr_status read_alpha_names(psdr_image* image, int64_t size) {
    uint8_t* data;
    if (psdr_status s = read_block_data(image, size, &data)) return s;
    psdr_status status = ensure_alpha_channels(image, count_pascal_names(data, size_t(size)));
    size_t pos = 0;
    for (int i = 0; status == PSDR_OK && i < image->alpha_channel_count && pos < size_t(size); ++i) {
        size_t n = data[pos];
        if (n > size_t(size) - pos - 1) n = size_t(size) - pos - 1;
        psdr_alpha_channel& a = image->alpha_channels[i];
        std::memset(a.name, 0, sizeof a.name);
        std::memcpy(a.name, data + pos + 1, n);
        pos += size_t(data[pos]) + 1;
    }
    psdr_mem_free(data);
    return status;
}

psdr_status read_alpha_unicode_names(psdr_image* image, int64_t size) {
    uint8_t* data;
    if (psdr_status s = read_block_data(image, size, &data)) return s;
    int count = count_unicode_names(data, size_t(size));
    psdr_status status = ensure_alpha_channels(image, count);
    size_t pos = 0;
    for (int i = 0; status == PSDR_OK && i < image->alpha_channel_count && i < count; ++i) {
        size_t chars = be32(data + pos);
        psdr_alpha_channel& a = image->alpha_channels[i];
        psdr_mem_release(a.unicode_name);
        a.unicode_name = nullptr;
        a.unicode_name_length = 0;
        a.unicode_name = static_cast<uint8_t*>(psdr_alloc(image, chars * 2));
        if (!a.unicode_name) {
            status = PSDR_NO_MEMORY;
            break;
        }
        a.unicode_name_length = int32_t(chars);
        std::memcpy(a.unicode_name, data + pos + 4, chars * 2);
        pos += 4 + chars * 2;
    }
    psdr_mem_free(data);
    return status;
}

psdr_status read_alpha_ids(psdr_image* image, int64_t size) {
    int count = int(size / 4 > 65535 ? 65535 : size / 4);
    psdr_status status = ensure_alpha_channels(image, count);
    for (int i = 0; status == PSDR_OK && i < image->alpha_channel_count && i < count; ++i)
        image->alpha_channels[i].id = int32_t(psdr_stream_u32(image));
    return status;
}

psdr_status read_thumbnail(psdr_image* image) {
    image->thumbnail_present = 1;
    image->thumbnail_format = int32_t(psdr_stream_u32(image));
    image->thumbnail_width = int32_t(psdr_stream_u32(image));
    image->thumbnail_height = int32_t(psdr_stream_u32(image));
    image->thumbnail_row_bytes = int32_t(psdr_stream_u32(image));
    image->thumbnail_total_size = int32_t(psdr_stream_u32(image));
    image->thumbnail_compressed_size = int32_t(psdr_stream_u32(image));
    image->thumbnail_bits_per_pixel = int16_t(psdr_stream_u16(image));
    image->thumbnail_planes = int16_t(psdr_stream_u16(image));
    psdr_mem_release(image->thumbnail_pixels);
    image->thumbnail_pixels = nullptr;
    // The compressed data never runs into the following blocks.
    int64_t size = uint32_t(image->thumbnail_compressed_size);
    if (size > psdr_limit_remaining(image)) size = psdr_limit_remaining(image);
    if (image->thumbnail_format != 0)
        return psdr_read_jpeg_thumbnail(&image->thumbnail_pixels, size, image);
    return psdr_skip_thumbnail(&image->thumbnail_pixels, size, image);
}

psdr_status read_resource(psdr_image* image, unsigned id, int64_t size) {
    // Sizes that run past the end of the file size nothing beyond it.
    if (id != 1033 && id != 1036 && size > psdr_bytes_left(image)) size = psdr_bytes_left(image);
    switch (id) {
    case 1005:
        image->resolution_present = 1;
        image->h_resolution = float(int32_t(psdr_stream_u32(image))) / 65536.0f;
        image->h_resolution_unit = int16_t(psdr_stream_u16(image));
        image->width_unit = int16_t(psdr_stream_u16(image));
        image->v_resolution = float(int32_t(psdr_stream_u32(image))) / 65536.0f;
        image->v_resolution_unit = int16_t(psdr_stream_u16(image));
        image->height_unit = int16_t(psdr_stream_u16(image));
        return PSDR_OK;
    case 1006: return read_alpha_names(image, size);
    case 1007:
        image->display_info_present = 1;
        image->display_colour = psdr_stream_colour(image);
        image->display_opacity = int16_t(psdr_stream_u16(image));
        image->display_kind = psdr_stream_u8(image);
        psdr_stream_u8(image);
        return PSDR_OK;
    case 1008: {
        uint8_t n = psdr_stream_u8(image);
        std::memset(image->caption, 0, sizeof image->caption);
        psdr_stream_read(image, image->caption, n);
        return PSDR_OK;
    }
    case 1024: image->target_layer = int16_t(psdr_stream_u16(image)); return PSDR_OK;
    case 1026: {
        psdr_mem_release(image->layer_group_ids);
        image->layer_group_ids = nullptr;
        image->layer_group_count = 0;
        image->layer_groups_present = 1;
        int64_t count = size / 2;
        if (count == 0) return PSDR_OK;
        image->layer_group_ids = static_cast<int16_t*>(psdr_alloc(image, size_t(count) * 2));
        if (!image->layer_group_ids) return PSDR_NO_MEMORY;
        image->layer_group_count = int32_t(count);
        for (int64_t i = 0; i < count; ++i)
            image->layer_group_ids[i] = int16_t(psdr_stream_u16(image));
        return PSDR_OK;
    }
    case 1033:
    case 1036: return read_thumbnail(image);
    case 1034: image->rights_flag = uint8_t(psdr_stream_u16(image)); return PSDR_OK;
    case 1037: image->global_angle = int32_t(psdr_stream_u32(image)); return PSDR_OK;
    case 1042: image->effects_visible = uint8_t(psdr_stream_u16(image)); return PSDR_OK;
    case 1045: return read_alpha_unicode_names(image, size);
    case 1046: image->indexed_colour_count = int16_t(psdr_stream_u16(image)); return PSDR_OK;
    case 1047: image->transparent_index = int16_t(psdr_stream_u16(image)); return PSDR_OK;
    case 1049: image->global_altitude = int32_t(psdr_stream_u32(image)); return PSDR_OK;
    case 1053: return read_alpha_ids(image, size);
    case 1057: {
        image->version_info_present = 1;
        image->version = int32_t(psdr_stream_u32(image));
        image->has_real_merged_data = psdr_stream_u8(image);
        if (psdr_status s = psdr_read_unicode(image, &image->writer_name_length, &image->writer_name))
            return s;
        if (psdr_status s = psdr_read_unicode(image, &image->reader_name_length, &image->reader_name))
            return s;
        image->file_version = int32_t(psdr_stream_u32(image));
        return PSDR_OK;
    }
    default: return PSDR_OK;
    }
}

}  // namespace

psdr_status psdr_read_resources(psdr_image* image) {
    image->global_angle = 30;
    image->global_altitude = 30;
    int64_t length = psdr_stream_u32(image);
    if (length == 0 || length > INT32_MAX) return PSDR_OK;
    if (psdr_status s = psdr_limit_push(image, length)) return s;
    psdr_status status = PSDR_OK;
    while (status == PSDR_OK && psdr_limit_remaining(image) > 0) {
        uint8_t signature[4] = {};
        psdr_stream_read(image, signature, 4);
        if (!psdr_key_is(signature, "8BIM")) {
            status = PSDR_BAD_RESOURCE_SIGNATURE;
            break;
        }
        unsigned id = psdr_stream_u16(image);
        uint8_t c = psdr_stream_u8(image);
        psdr_stream_skip(image, c % 2 == 0 ? c + 1 : c);
        int64_t size = psdr_stream_u32(image);
        int64_t padded = size + (size & 1);
        status = psdr_limit_push(image, padded);
        if (status != PSDR_OK) break;
        if (size > 0 && wanted(image->load_tag, id)) status = read_resource(image, id, size);
        psdr_limit_pop(image);
    }
    psdr_limit_pop(image);
    return status;
}

void psdr_free_alpha_channels(psdr_image* image) {
    if (image->alpha_channels) {
        for (int i = 0; i < image->alpha_channel_count; ++i) {
            psdr_mem_release(image->alpha_channels[i].plane);
            psdr_mem_release(image->alpha_channels[i].unicode_name);
        }
        psdr_mem_free(image->alpha_channels);
    }
    image->alpha_channels = nullptr;
}

void psdr_free_resources(psdr_image* image) {
    psdr_free_alpha_channels(image);
    psdr_mem_release(image->layer_group_ids);
    image->layer_group_ids = nullptr;
    psdr_mem_release(image->thumbnail_pixels);
    image->thumbnail_pixels = nullptr;
    psdr_mem_release(image->writer_name);
    image->writer_name = nullptr;
    psdr_mem_release(image->reader_name);
    image->reader_name = nullptr;
}
