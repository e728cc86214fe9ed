// One channel's plane handed out a row at a time, for layers combined row by
// row. A row decoder gives the bytes the plane decoders would have written
// there, or refuses (errors, runs across rows, anything unusual): the caller
// then decodes whole planes, which reports exactly what went wrong.

#include <cstring>

#include "Psd/PsdInternal.h"

bool psdr_rows_start(psdr_rows* r, int compression, const uint8_t* data, size_t size, size_t rows,
                     size_t width) {
    *r = psdr_rows{};
    r->compression = compression;
    r->data = data;
    r->size = size;
    r->rows = rows;
    r->width = width;
    switch (compression) {
    case 0: return true;
    case 1:
        if (rows > size / 2) return false;
        r->offset = rows * 2;
        return true;
    // Zip inflates whole planes, much faster than a row at a time.
    default: return false;
    }
}

bool psdr_rows_next(psdr_rows* r, uint8_t* row, size_t room) {
    const size_t width = r->width;
    switch (r->compression) {
    case 0: {
        const size_t at = r->row * width;
        const size_t n = at < r->size ? (r->size - at < width ? r->size - at : width) : 0;
        if (n > 0) std::memcpy(row, r->data + at, n);
        if (n < width) std::memset(row + n, 0, width - n);
        break;
    }
    default: {
        const size_t count = size_t(r->data[2 * r->row]) << 8 | r->data[2 * r->row + 1];
        if (count > r->size - r->offset) return false;
        if (!psdr_unpack_rle_row(r->data + r->offset, count, r->size - r->offset, row, width, room))
            return false;
        r->offset += count;
        break;
    }
    }
    ++r->row;
    return true;
}
