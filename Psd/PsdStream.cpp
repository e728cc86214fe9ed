// Buffered, forward-only, big-endian reader over the document file, with a
// stack of structure ends so that no reader can pass the structure it is in.

#include <sys/mman.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "Psd/PsdInternal.h"

namespace {
constexpr int32_t kBufferSize = 4096;

// Images and planes of megabytes were faulted in 4 KiB at a time on their
// first writes, about two-thirds of a load; on huge pages they take 512
// times fewer faults. A block kept from an earlier load takes none.
void* alloc_large(size_t size) {
    if (void* kept = psdr_cache_take(size)) return kept;
    const size_t rounded = (size + PSDR_HUGE_PAGE - 1) & ~(PSDR_HUGE_PAGE - 1);
    if (rounded < size) return nullptr;
    void* block = std::aligned_alloc(PSDR_HUGE_PAGE, rounded);
    // Only advice: without huge pages the block works the same.
    if (block) madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

}  // namespace

void* psdr_mem_alloc(size_t size) {
    if (size < PSDR_HUGE_PAGE) return std::calloc(1, size ? size : 1);
    void* block = alloc_large(size);
    if (block) std::memset(block, 0, size);
    return block;
}

void* psdr_mem_alloc_unset(size_t size) {
    if (size < PSDR_HUGE_PAGE) return std::malloc(size ? size : 1);
    return alloc_large(size);
}

void* psdr_mem_realloc(void* block, size_t size) { return std::realloc(block, size); }

void psdr_mem_free(void* block) {
    if (!psdr_cache_keep(block)) std::free(block);
}

void psdr_mem_release(void* block) {
    if (block) psdr_mem_free(block);
}

FILE* psdr_file_open(const char* path) { return std::fopen(path, "rb"); }

int64_t psdr_file_size(FILE* file) {
    off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0) return -1;
    off_t end = ftello(file);
    fseeko(file, 0, SEEK_SET);
    fseeko(file, here, SEEK_CUR);
    return end;
}

size_t psdr_file_read(void* buffer, size_t count, FILE* file) {
    return std::fread(buffer, 1, count, file);
}

int psdr_file_skip(FILE* file, int64_t count) { return fseeko(file, count, SEEK_CUR); }

void psdr_file_close(FILE* file) { std::fclose(file); }

void* psdr_alloc(psdr_image* image, size_t size) {
    if (size > image->budget) return nullptr;
    void* block = psdr_mem_alloc(size);
    if (block) image->budget -= size;
    return block;
}

void* psdr_alloc_unset(psdr_image* image, size_t size) {
    if (size > image->budget) return nullptr;
    void* block = psdr_mem_alloc_unset(size);
    if (block) image->budget -= size;
    return block;
}

bool psdr_mul(size_t a, size_t b, size_t* out) { return !__builtin_mul_overflow(a, b, out); }

psdr_status psdr_scratch_reserve(psdr_image* image, uint8_t** buffer, size_t* capacity,
                                 size_t needed, size_t floor) {
    if (*buffer && *capacity >= needed) return PSDR_OK;
    size_t size = needed;
    if (*capacity <= std::numeric_limits<size_t>::max() / 2 && 2 * *capacity > size)
        size = 2 * *capacity;
    if (size < floor) size = floor;
    psdr_mem_release(*buffer);
    *buffer = static_cast<uint8_t*>(psdr_alloc_unset(image, size));
    *capacity = *buffer ? size : 0;
    return *buffer ? PSDR_OK : PSDR_NO_MEMORY;
}

int32_t psdr_to_int(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int64_t psdr_file_remaining(psdr_image* image) {
    int64_t left = image->file_length - image->consumed;
    return left > 0 ? left : 0;
}

int64_t psdr_limit_remaining(psdr_image* image) {
    if (image->descriptor_corrupt) return 0;
    if (image->limit_depth == 0) return std::numeric_limits<int64_t>::max();
    int64_t left = image->limits[image->limit_depth - 1] - image->consumed;
    return left > 0 ? left : 0;
}

int64_t psdr_bytes_left(psdr_image* image) {
    int64_t structure = psdr_limit_remaining(image);
    int64_t file = psdr_file_remaining(image);
    return structure < file ? structure : file;
}

psdr_status psdr_limit_push(psdr_image* image, int64_t length) {
    if (length < 0 || length > psdr_limit_remaining(image) ||
        image->limit_depth == PSDR_LIMIT_DEPTH)
        return PSDR_READ_ERROR;
    image->limits[image->limit_depth++] = image->consumed + length;
    return PSDR_OK;
}

void psdr_limit_pop(psdr_image* image) {
    if (image->limit_depth == 0) return;
    image->descriptor_corrupt = 0;
    int64_t end = image->limits[--image->limit_depth];
    if (end > image->consumed) psdr_stream_skip(image, end - image->consumed);
}

int64_t psdr_stream_read(psdr_image* image, void* destination, int64_t n) {
    if (!destination || n < 1 || !image->file) return 0;
    int64_t bound = psdr_limit_remaining(image);
    if (n > bound) n = bound;
    if (n < 1) return 0;
    if (!image->stream_buffer) {
        image->stream_buffer = static_cast<uint8_t*>(psdr_mem_alloc(kBufferSize));
        if (!image->stream_buffer) return 0;
    }
    uint8_t* out = static_cast<uint8_t*>(destination);
    int64_t delivered = 0;
    int64_t available = image->buffered - image->buffer_position;
    if (available >= 1 && n >= available) {
        std::memcpy(out, image->stream_buffer + image->buffer_position, size_t(available));
        image->buffer_position = image->buffered;
        out += available;
        n -= available;
        delivered = available;
    }
    if (n <= kBufferSize) {
        if (image->buffer_position != image->buffered) {
            std::memcpy(out, image->stream_buffer + image->buffer_position, size_t(n));
            image->buffer_position += int32_t(n);
            delivered += n;
        } else if (n > 0) {
            size_t got = psdr_file_read(image->stream_buffer, kBufferSize, image->file);
            image->buffered = int32_t(got);
            int64_t copy = n < int64_t(got) ? n : int64_t(got);
            std::memcpy(out, image->stream_buffer, size_t(copy));
            image->buffer_position = int32_t(copy);
            delivered += copy;
        }
    } else {
        size_t got = psdr_file_read(out, size_t(n), image->file);
        image->buffer_position = image->buffered;
        delivered += int64_t(got);
    }
    image->consumed += delivered;
    return delivered;
}

int64_t psdr_stream_skip(psdr_image* image, int64_t n) {
    if (n < 1 || !image->file) return 0;
    int64_t bound = psdr_limit_remaining(image);
    if (n > bound) n = bound;
    // A skip never passes the end of the file, so positions stay meaningful.
    int64_t left = psdr_file_remaining(image);
    if (n > left) n = left;
    if (n < 1) return 0;
    int64_t skipped = 0;
    int64_t available = image->buffered - image->buffer_position;
    if (available >= 1 && n >= available) {
        image->buffer_position = image->buffered;
        n -= available;
        skipped = available;
    }
    if (n > 0 && n <= kBufferSize && image->buffer_position != image->buffered) {
        image->buffer_position += int32_t(n);
        skipped += n;
    } else if (n > 0) {
        if (psdr_file_skip(image->file, n) == 0) skipped += n;
        image->buffer_position = image->buffered;
    }
    image->consumed += skipped;
    return skipped;
}

uint8_t psdr_stream_u8(psdr_image* image) {
    uint8_t b = 0;
    return psdr_stream_read(image, &b, 1) == 1 ? b : 0;
}

uint16_t psdr_stream_u16(psdr_image* image) {
    uint8_t b[2];
    if (psdr_stream_read(image, b, 2) != 2) return 0;
    return uint16_t(b[0] << 8 | b[1]);
}

uint32_t psdr_stream_u32(psdr_image* image) {
    uint8_t b[4];
    if (psdr_stream_read(image, b, 4) != 4) return 0;
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

double psdr_stream_f64(psdr_image* image) {
    uint8_t b[8];
    if (psdr_stream_read(image, b, 8) != 8) return 0.0;
    uint64_t bits = 0;
    for (uint8_t v : b) bits = bits << 8 | v;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

uint8_t psdr_stream_bool(psdr_image* image) {
    uint8_t b = 0;
    return psdr_stream_read(image, &b, 1) == 1 && b != 0 ? 1 : 0;
}

bool psdr_key_is(const uint8_t key[4], const char* text) { return std::memcmp(key, text, 4) == 0; }

psdr_blend_mode psdr_blend_mode_from_key(uint32_t key) {
    static const char* const kKeys[] = {nullptr, "diss", "dark", "mul ", "idiv", "lbrn", "lite",
                                        "scrn", "div ", "lddg", "over", "sLit", "hLit", "vLit",
                                        "lLit", "pLit", "hMix", "diff", "smud", "hue ", "sat ",
                                        "colr", "lum ", "pass"};
    for (int i = 1; i < int(sizeof kKeys / sizeof kKeys[0]); ++i)
        if (psdr_fourcc(kKeys[i]) == key) return i;
    return 0;
}

psdr_blend_mode psdr_stream_blend_key(psdr_image* image) {
    uint8_t b[4];
    if (psdr_stream_read(image, b, 4) != 4) return 0;
    return psdr_blend_mode_from_key(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 |
                                    uint32_t(b[2]) << 8 | b[3]);
}

uint32_t psdr_stream_colour(psdr_image* image) {
    int space = int16_t(psdr_stream_u16(image));
    uint16_t w[4];
    for (uint16_t& v : w) v = uint16_t(int16_t(psdr_stream_u16(image)) >> 8);
    uint32_t argb = 0x00FFFFFF;
    if (psdr_colour_to_argb(&argb, space, w[0], w[1], w[2], w[3]) != PSDR_OK)
        return 0x00FFFFFF;
    return argb;
}

void psdr_stream_close(psdr_image* image) {
    psdr_mem_release(image->stream_buffer);
    image->stream_buffer = nullptr;
    image->buffered = 0;
    image->buffer_position = 0;
    if (image->file) psdr_file_close(image->file);
    image->file = nullptr;
}

psdr_status psdr_read_unicode(psdr_image* image, int32_t* length, uint8_t** text) {
    psdr_mem_release(*text);
    *text = nullptr;
    *length = 0;
    int64_t chars = psdr_stream_u32(image);
    int64_t bound = psdr_bytes_left(image) / 2;
    if (chars > bound) chars = bound;
    if (chars == 0) return PSDR_OK;
    *text = static_cast<uint8_t*>(psdr_alloc(image, size_t(chars) * 2));
    if (!*text) return PSDR_NO_MEMORY;
    *length = int32_t(chars);
    psdr_stream_read(image, *text, chars * 2);
    return PSDR_OK;
}
