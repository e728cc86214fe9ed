// Channel decompression shared by layers, the merged image and patterns:
// raw, run-length (PackBits rows) and zlib with or without horizontal prediction.

#include <climits>
#include <cstring>

#include <libdeflate.h>
#include <zlib.h>

#include "Psd/PsdInternal.h"

size_t psdr_plane_size(int64_t w, int64_t h, int depth) {
    if (w <= 0 || h <= 0) return 0;
    if (depth == 1) return size_t(h) * size_t((w + 7) / 8);
    return size_t(w) * size_t(h) * (depth == 16 ? 2 : 1);
}

namespace {

// Runs are short (often a few bytes): they are moved in whole blocks where
// the buffers have room past the run, instead of through a library call
// each. Bytes written past a run are overwritten by the next one or by the
// zeros after the last.
constexpr size_t kRunBlock = 16;

size_t round_to_block(size_t n) { return (n + kRunBlock - 1) & ~(kRunBlock - 1); }

void copy_run(uint8_t* destination, const uint8_t* source, size_t n) {
    for (size_t k = 0; k < n; k += kRunBlock) std::memcpy(destination + k, source + k, kRunBlock);
}

void fill_run(uint8_t* destination, uint8_t value, size_t n) {
    uint8_t block[kRunBlock];
    std::memset(block, value, kRunBlock);
    for (size_t k = 0; k < n; k += kRunBlock) std::memcpy(destination + k, block, kRunBlock);
}

// What a decoder did not write reads as zeros.
void zero_tail(uint8_t* destination, size_t written, size_t destination_size) {
    if (written < destination_size) std::memset(destination + written, 0, destination_size - written);
}

}  // namespace

namespace {

// The runs of one row, `count` bytes of which `source_room` may be read,
// into `destination` from `out` on: false when a run passes the row or
// would end past `limit`; `room` bytes may be written at `destination`.
bool unpack_runs(const uint8_t* runs, size_t count, size_t source_room, uint8_t* destination, size_t& out,
                 size_t limit, size_t room) {
    size_t pos = 0;
    while (pos < count) {
        unsigned h = runs[pos++];
        if (h < 128) {
            size_t n = h + 1;
            if (n > count - pos || n > limit - out) return false;
            const size_t block = round_to_block(n);
            if (block <= source_room - pos && block <= room - out)
                copy_run(destination + out, runs + pos, n);
            else
                std::memcpy(destination + out, runs + pos, n);
            pos += n;
            out += n;
        } else if (h > 128) {
            size_t n = 257 - h;
            if (pos >= count || n > limit - out) return false;
            if (round_to_block(n) <= room - out)
                fill_run(destination + out, runs[pos++], n);
            else
                std::memset(destination + out, runs[pos++], n);
            out += n;
        }
    }
    return true;
}

}  // namespace

psdr_status psdr_unpack_rle(const uint8_t* source, size_t source_length, size_t rows,
                            uint8_t* destination, size_t destination_size) {
    if (rows > source_length / 2) return PSDR_READ_ERROR;
    size_t offset = rows * 2;
    size_t out = 0;
    for (size_t r = 0; r < rows; ++r) {
        size_t count = size_t(source[2 * r]) << 8 | source[2 * r + 1];
        if (count > source_length - offset) return PSDR_READ_ERROR;
        if (!unpack_runs(source + offset, count, source_length - offset, destination, out, destination_size,
                         destination_size))
            return PSDR_READ_ERROR;
        offset += count;
    }
    zero_tail(destination, out, destination_size);
    return PSDR_OK;
}

bool psdr_unpack_rle_row(const uint8_t* runs, size_t count, size_t source_room, uint8_t* row,
                         size_t width, size_t row_room) {
    size_t out = 0;
    return unpack_runs(runs, count, source_room, row, out, width, row_room) && out == width;
}

namespace {

// zlib's streaming inflate: a stream that fills the plane before its end, or
// is cut there, still gives the plane.
psdr_status inflate_stream(const uint8_t* source, size_t source_length, uint8_t* destination,
                           size_t destination_size) {
    z_stream z{};
    z.next_in = const_cast<Bytef*>(source);
    z.avail_in = uInt(source_length);
    z.next_out = destination;
    z.avail_out = uInt(destination_size);
    if (inflateInit(&z) != Z_OK) return PSDR_ZIP_ERROR;
    psdr_status status = PSDR_ZIP_ERROR;
    for (;;) {
        int r = inflate(&z, Z_PARTIAL_FLUSH);
        if (r == Z_STREAM_END || (r == Z_OK && z.avail_out == 0)) {
            zero_tail(destination, destination_size - z.avail_out, destination_size);
            status = PSDR_OK;
            break;
        }
        if (r != Z_OK) break;
    }
    inflateEnd(&z);
    return status;
}

// The decompressor keeps its tables between calls: one per thread.
class WholeInflater {
public:
    WholeInflater() : decompressor_(libdeflate_alloc_decompressor()) {}
    ~WholeInflater() {
        if (decompressor_) libdeflate_free_decompressor(decompressor_);
    }
    WholeInflater(const WholeInflater&) = delete;
    WholeInflater& operator=(const WholeInflater&) = delete;
    libdeflate_decompressor* get() const { return decompressor_; }

private:
    libdeflate_decompressor* decompressor_;
};

}  // namespace

psdr_status psdr_inflate(const uint8_t* source, size_t source_length, uint8_t* destination,
                         size_t destination_size) {
    if (destination_size == 0) return PSDR_OK;
    if (source_length > UINT_MAX || destination_size > UINT_MAX) return PSDR_NO_MEMORY;
    // Whole-buffer inflate takes well under half of zlib's time. Whatever it
    // refuses (a damaged or cut stream, one longer than the plane) goes
    // through zlib, which decides and fills the plane as it always has.
    thread_local const WholeInflater inflater;
    if (libdeflate_decompressor* d = inflater.get()) {
        size_t written = 0;
        if (libdeflate_zlib_decompress(d, source, source_length, destination, destination_size, &written) ==
            LIBDEFLATE_SUCCESS) {
            zero_tail(destination, written, destination_size);
            return PSDR_OK;
        }
    }
    return inflate_stream(source, source_length, destination, destination_size);
}

psdr_status psdr_inflate_predicted(const uint8_t* source, size_t source_length,
                                   uint8_t* destination, size_t destination_size, size_t row_width,
                                   int depth) {
    psdr_status status = psdr_inflate(source, source_length, destination, destination_size);
    if (status != PSDR_OK || row_width == 0) return status;
    const size_t row_bytes = depth == 16 ? 2 * row_width : row_width;
    for (size_t row = 0; row < destination_size; row += row_bytes) {
        const size_t end = row_bytes < destination_size - row ? row + row_bytes : destination_size;
        if (depth == 16) {
            for (size_t i = row + 2; i + 1 < end; i += 2) {
                unsigned prev = unsigned(destination[i - 2]) << 8 | destination[i - 1];
                unsigned cur = unsigned(destination[i]) << 8 | destination[i + 1];
                unsigned v = (cur + prev) & 0xFFFF;
                destination[i] = uint8_t(v >> 8);
                destination[i + 1] = uint8_t(v);
            }
        } else {
            for (size_t i = row + 1; i < end; ++i)
                destination[i] = uint8_t(destination[i] + destination[i - 1]);
        }
    }
    return PSDR_OK;
}

psdr_status psdr_decode_plane(const uint8_t* source, size_t source_length, int compression,
                              size_t rows, size_t row_width, int depth, uint8_t* plane,
                              size_t plane_size) {
    switch (compression) {
    case 0: {
        // Short raw data leaves the rest of the plane zero.
        const size_t n = source_length < plane_size ? source_length : plane_size;
        if (n > 0) std::memcpy(plane, source, n);
        zero_tail(plane, n, plane_size);
        return PSDR_OK;
    }
    case 1: return psdr_unpack_rle(source, source_length, rows, plane, plane_size);
    case 2: return psdr_inflate(source, source_length, plane, plane_size);
    case 3:
        return psdr_inflate_predicted(source, source_length, plane, plane_size,
                                      depth == 1 ? (row_width + 7) / 8 : row_width, depth);
    default: return PSDR_BAD_COMPRESSION;
    }
}
