// Entry points: load a document section by section, release everything it owns.

#include "Psd/PsdInternal.h"

namespace {
psdr_status load_opened(FILE* file, const char* path, psdr_image** out, psdr_load_tag tag,
                        size_t budget) {
    auto* image = static_cast<psdr_image*>(psdr_mem_alloc(sizeof(psdr_image)));
    if (!image) {
        psdr_file_close(file);
        return PSDR_NO_MEMORY;
    }
    image->path = path;
    image->file = file;
    image->budget = budget;
    image->section_state = 0;
    image->file_length = psdr_file_size(file);
    image->load_tag = tag;
    psdr_status status = psdr_read_sections(image);
    if (status != PSDR_OK) {
        psdr_free(image);
        *out = nullptr;
        return status;
    }
    psdr_stream_close(image);
    *out = image;
    return PSDR_OK;
}
}  // namespace

psdr_status psdr_load(psdr_image** out, const char* path) { return psdr_load_tagged(path, out, 0); }

psdr_status psdr_load_tagged(const char* path, psdr_image** out, psdr_load_tag tag) {
    if (!out) return PSDR_INVALID_IMAGE;
    if (!path) return PSDR_INVALID_FILE;
    FILE* file = psdr_file_open(path);
    if (!file) return PSDR_INVALID_FILE;
    return load_opened(file, path, out, tag, PSDR_DEFAULT_BUDGET);
}

psdr_status psdr_load_file(FILE* file, psdr_image** out, psdr_load_tag tag, size_t budget) {
    if (!out) {
        if (file) psdr_file_close(file);
        return PSDR_INVALID_IMAGE;
    }
    if (!file) return PSDR_INVALID_FILE;
    return load_opened(file, nullptr, out, tag, budget);
}

psdr_status psdr_read_sections(psdr_image* image) {
    if (image->file_length <= 0) return PSDR_READ_ERROR;
    for (;;) {
        psdr_status status = PSDR_OK;
        switch (image->section_state) {
        case 0:
            status = psdr_read_header(image);
            image->section_state = image->load_tag == 1 ? 5 : 1;
            break;
        case 1:
            status = psdr_read_colour_mode_data(image);
            image->section_state = 2;
            break;
        case 2:
            status = psdr_read_resources(image);
            image->section_state = 3;
            break;
        case 3:
            status = psdr_read_layer_mask_section(image);
            image->section_state = 4;
            break;
        case 4:
            status = psdr_read_image_data(image);
            image->section_state = 5;
            break;
        default:
            // Scratch kept from section to section goes with the load.
            psdr_free_scratch(image);
            return PSDR_OK;
        }
        if (status != PSDR_OK) return status;
    }
}

psdr_status psdr_free(psdr_image* image) {
    if (!image) return PSDR_INVALID_IMAGE;
    psdr_free_colour_table(image);
    psdr_free_resources(image);
    psdr_free_layers(image);
    psdr_free_merged(image);
    psdr_stream_close(image);
    psdr_mem_free(image);
    return PSDR_OK;
}
