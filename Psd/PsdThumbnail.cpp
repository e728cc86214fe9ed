// JPEG thumbnail resource: the stream is fed to libjpeg in chunks through a
// suspending source, in buffered-image mode so progressive scans work too.
// libjpeg reports errors by longjmp: nothing with a destructor may live across
// the setjmp calls below, and locals changed after them are volatile.

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "Psd/PsdInternal.h"

namespace {

constexpr size_t kChunk = 4096;
constexpr size_t kInputBuffer = 32768;
constexpr JDIMENSION kMaxSide = 4096;

struct psdr_jpeg_error {
    jpeg_error_mgr pub;
    jmp_buf jump;
};

struct psdr_jpeg_source {
    jpeg_source_mgr pub;
    JOCTET buffer[kInputBuffer + 32];
    size_t pending_skip;
};

struct psdr_jpeg_state {
    psdr_image* image;
    uint8_t* output;
    int width, height, components, row_bytes;
    int header_read, started, header_attempted, in_scan, complete;
    jpeg_decompress_struct cinfo;
    psdr_jpeg_error error;
    psdr_jpeg_source* source;
};

void psdr_jpeg_error_exit(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<psdr_jpeg_error*>(cinfo->err)->jump, 1);
}

// Loading data is silent.
void psdr_jpeg_silent(j_common_ptr) {}

void psdr_jpeg_init_source(j_decompress_ptr cinfo) {
    reinterpret_cast<psdr_jpeg_source*>(cinfo->src)->pending_skip = 0;
}

boolean psdr_jpeg_fill_input(j_decompress_ptr) { return FALSE; }

void psdr_jpeg_skip_input(j_decompress_ptr cinfo, long n) {
    if (n <= 0) return;
    auto* src = reinterpret_cast<psdr_jpeg_source*>(cinfo->src);
    size_t drop = size_t(n) < src->pub.bytes_in_buffer ? size_t(n) : src->pub.bytes_in_buffer;
    src->pub.next_input_byte += drop;
    src->pub.bytes_in_buffer -= drop;
    src->pending_skip += size_t(n) - drop;
}

void psdr_jpeg_term_source(j_decompress_ptr) {}

}  // namespace

void psdr_jpeg_expand_grey(j_decompress_ptr cinfo, JSAMPARRAY rows, int count) {
    const int w = int(cinfo->output_width);
    for (int r = 0; r < count; ++r)
        for (int x = w - 1; x >= 0; --x) {
            const JSAMPLE g = rows[r][x];
            rows[r][3 * x] = rows[r][3 * x + 1] = rows[r][3 * x + 2] = g;
        }
}

void psdr_jpeg_convert_cmyk(j_decompress_ptr cinfo, JSAMPARRAY rows, int count) {
    const int w = int(cinfo->output_width);
    const bool adobe = cinfo->saw_Adobe_marker;
    for (int r = 0; r < count; ++r)
        for (int x = 0; x < w; ++x) {
            JSAMPLE* p = rows[r] + 4 * x;
            const int c = p[0], m = p[1], y = p[2], k = p[3];
            if (adobe) {
                p[0] = JSAMPLE(c * k / 255);
                p[1] = JSAMPLE(m * k / 255);
                p[2] = JSAMPLE(y * k / 255);
            } else {
                p[0] = JSAMPLE((255 - c) * (255 - k) / 255);
                p[1] = JSAMPLE((255 - m) * (255 - k) / 255);
                p[2] = JSAMPLE((255 - y) * (255 - k) / 255);
            }
            p[3] = 255;
        }
}

psdr_jpeg_state* psdr_jpeg_create(psdr_image* image) {
    auto* state = static_cast<psdr_jpeg_state*>(psdr_mem_alloc(sizeof(psdr_jpeg_state)));
    if (!state) return nullptr;
    state->image = image;
    state->cinfo.err = jpeg_std_error(&state->error.pub);
    state->error.pub.error_exit = psdr_jpeg_error_exit;
    state->error.pub.output_message = psdr_jpeg_silent;
    if (setjmp(state->error.jump)) {
        psdr_mem_free(state);
        return nullptr;
    }
    jpeg_create_decompress(&state->cinfo);
    state->source = static_cast<psdr_jpeg_source*>(psdr_mem_alloc(sizeof(psdr_jpeg_source)));
    if (!state->source) {
        jpeg_destroy_decompress(&state->cinfo);
        psdr_mem_free(state);
        return nullptr;
    }
    jpeg_source_mgr& src = state->source->pub;
    src.init_source = psdr_jpeg_init_source;
    src.fill_input_buffer = psdr_jpeg_fill_input;
    src.skip_input_data = psdr_jpeg_skip_input;
    src.resync_to_restart = jpeg_resync_to_restart;
    src.term_source = psdr_jpeg_term_source;
    src.next_input_byte = state->source->buffer;
    src.bytes_in_buffer = 0;
    state->cinfo.src = &src;
    return state;
}

namespace {

// Runs the decoder as far as the buffered input allows. False on a stream we cannot use.
bool advance(psdr_jpeg_state* s) {
    j_decompress_ptr cinfo = &s->cinfo;
    if (!s->header_read) {
        s->header_attempted = 1;
        if (jpeg_read_header(cinfo, TRUE) == JPEG_SUSPENDED) return true;
        s->header_read = 1;
        if (cinfo->image_width > kMaxSide || cinfo->image_height > kMaxSide) return false;
    }
    if (!s->started) {
        cinfo->buffered_image = TRUE;
        if (!jpeg_start_decompress(cinfo)) return true;
        cinfo->do_fancy_upsampling = FALSE;
        cinfo->do_block_smoothing = FALSE;
        const int out = cinfo->out_color_components;
        if (cinfo->out_color_space != JCS_GRAYSCALE && cinfo->out_color_space != JCS_RGB &&
            cinfo->out_color_space != JCS_CMYK)
            return false;
        s->components = out == 4 ? 4 : 3;
        s->width = int(cinfo->output_width);
        s->height = int(cinfo->output_height);
        s->row_bytes = s->components * s->width;
        s->output = static_cast<uint8_t*>(
            psdr_alloc(s->image, size_t(s->row_bytes) * size_t(s->height ? s->height : 1)));
        if (!s->output) return false;
        s->started = 1;
    }
    while (!s->complete) {
        if (!s->in_scan) {
            if (!jpeg_start_output(cinfo, cinfo->input_scan_number)) return true;
            s->in_scan = 1;
        }
        while (cinfo->output_scanline < cinfo->output_height) {
            JSAMPROW rows[16];
            int group = cinfo->rec_outbuf_height < 1 ? 1 : cinfo->rec_outbuf_height;
            if (group > 16) group = 16;
            const int left = int(cinfo->output_height - cinfo->output_scanline);
            if (group > left) group = left;
            for (int r = 0; r < group; ++r)
                rows[r] = s->output + size_t(cinfo->output_scanline + JDIMENSION(r)) * size_t(s->row_bytes);
            const int got = int(jpeg_read_scanlines(cinfo, rows, JDIMENSION(group)));
            if (got == 0) return true;
            if (cinfo->out_color_space == JCS_GRAYSCALE) psdr_jpeg_expand_grey(cinfo, rows, got);
            else if (cinfo->out_color_space == JCS_CMYK) psdr_jpeg_convert_cmyk(cinfo, rows, got);
        }
        if (!jpeg_finish_output(cinfo)) return true;
        s->in_scan = 0;
        if (jpeg_input_complete(cinfo) && cinfo->input_scan_number == cinfo->output_scan_number)
            s->complete = 1;
    }
    return true;
}

}  // namespace

bool psdr_jpeg_feed(psdr_jpeg_state* s, const uint8_t* bytes, size_t count) {
    volatile size_t left = count;
    const uint8_t* volatile next = bytes;
    if (setjmp(s->error.jump)) return false;
    psdr_jpeg_source* src = s->source;
    for (;;) {
        if (s->complete) return true;  // trailing bytes are ignored
        // Bytes libjpeg asked to skip are dropped from the chunk first.
        if (src->pending_skip > 0 && left > 0) {
            const size_t drop = src->pending_skip < left ? src->pending_skip : left;
            src->pending_skip -= drop;
            next = next + drop;
            left = left - drop;
        }
        if (left > 0) {
            const size_t kept = src->pub.bytes_in_buffer;
            std::memmove(src->buffer, src->pub.next_input_byte, kept);
            const size_t room = kInputBuffer - kept;
            const size_t n = left < room ? left : room;
            std::memcpy(src->buffer + kept, next, n);
            next = next + n;
            left = left - n;
            src->pub.next_input_byte = src->buffer;
            src->pub.bytes_in_buffer = kept + n;
        }
        const size_t before = src->pub.bytes_in_buffer;
        const volatile int scanline_before = int(s->cinfo.output_scanline);
        if (!advance(s)) return false;
        const bool progress = src->pub.bytes_in_buffer != before ||
                              int(s->cinfo.output_scanline) != scanline_before || s->complete;
        if (left == 0) return true;  // wait for the next chunk
        // A full buffer that the decoder does not drain would never end.
        if (!progress && src->pub.bytes_in_buffer >= kInputBuffer) return false;
    }
}

void psdr_jpeg_destroy(psdr_jpeg_state* s) {
    if (!s) return;
    psdr_mem_release(s->output);
    s->output = nullptr;
    if (!setjmp(s->error.jump)) {
        if (s->started) jpeg_finish_decompress(&s->cinfo);
    }
    jpeg_destroy_decompress(&s->cinfo);
    psdr_mem_release(s->source);
    psdr_mem_free(s);
}

psdr_status psdr_read_jpeg_thumbnail(uint32_t** out, int64_t compressed_size, psdr_image* image) {
    uint8_t* chunk = static_cast<uint8_t*>(psdr_mem_alloc(kChunk));
    psdr_jpeg_state* state = chunk ? psdr_jpeg_create(image) : nullptr;
    if (!state) {
        psdr_mem_release(chunk);
        return PSDR_NO_MEMORY;
    }
    psdr_status status = PSDR_OK;
    int64_t remaining = compressed_size;
    while (remaining > 0) {
        const int64_t want = remaining < int64_t(kChunk) ? remaining : int64_t(kChunk);
        const int64_t got = psdr_stream_read(image, chunk, want);
        if (got <= 0 || !psdr_jpeg_feed(state, chunk, size_t(got))) {
            status = PSDR_THUMBNAIL_ERROR;
            break;
        }
        remaining -= got;
    }
    // Success needs every output row, not just a header.
    if (status == PSDR_OK && !state->complete) status = PSDR_THUMBNAIL_ERROR;
    if (status == PSDR_OK) {
        const size_t count = size_t(state->width) * size_t(state->height);
        uint32_t* pixels = static_cast<uint32_t*>(psdr_alloc(image, (count ? count : 1) * 4));
        if (!pixels) {
            status = PSDR_NO_MEMORY;
        } else {
            const uint8_t* p = state->output;
            for (size_t i = 0; i < count; ++i, p += state->components)
                pixels[i] = state->components == 4
                                ? uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]
                                : 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
            *out = pixels;
        }
    }
    psdr_mem_free(chunk);
    psdr_jpeg_destroy(state);
    return status;
}

psdr_status psdr_skip_thumbnail(uint32_t**, int64_t compressed_size, psdr_image* image) {
    psdr_stream_skip(image, compressed_size);
    return PSDR_OK;
}
