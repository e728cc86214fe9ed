#include "PictureFixtures.h"

#include <png.h>
#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace fixtures
{
namespace
{
void Put16(Bytes& b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void PngFlush(png_structp) {}
} // namespace

Bytes MakePng(int width, int height, const std::vector<uint32_t>& argb)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        throw std::runtime_error("png");
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<unsigned char> row(size_t(width) * 4);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const uint32_t p = argb[size_t(y * width + x)];
            row[size_t(x) * 4 + 0] = uint8_t(p >> 16);
            row[size_t(x) * 4 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 4 + 2] = uint8_t(p);
            row[size_t(x) * 4 + 3] = uint8_t(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes MakeJpeg(int width, int height, const std::vector<uint32_t>& argb)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(size_t(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height)
    {
        const int y = int(cinfo.next_scanline);
        for (int x = 0; x < width; ++x)
        {
            const uint32_t p = argb[size_t(y * width + x)];
            row[size_t(x) * 3 + 0] = uint8_t(p >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(p);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

Bytes MakeBmp(int width, int height, const std::vector<uint32_t>& argb)
{
    const uint32_t rowBytes = (uint32_t(width) * 3 + 3) / 4 * 4;
    const uint32_t imageSize = rowBytes * uint32_t(height);
    Bytes b{'B', 'M'};
    Put32(b, 54 + imageSize);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height)); // positive: bottom-up
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);
    Put32(b, imageSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int y = height - 1; y >= 0; --y)
    {
        for (int x = 0; x < width; ++x)
        {
            const uint32_t p = argb[size_t(y * width + x)];
            b.push_back(uint8_t(p));
            b.push_back(uint8_t(p >> 8));
            b.push_back(uint8_t(p >> 16));
        }
        for (uint32_t pad = uint32_t(width) * 3; pad < rowBytes; ++pad)
            b.push_back(0);
    }
    return b;
}

Bytes MakeTga(int width, int height, const std::vector<uint32_t>& argb)
{
    Bytes b{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(b, uint32_t(width));
    Put16(b, uint32_t(height));
    b.push_back(32);
    b.push_back(8); // 8 alpha bits, origin bottom-left
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            Put32(b, argb[size_t(y * width + x)]); // B, G, R, A
    return b;
}

Bytes MakeGif(int width, int height, const uint32_t palette[4], const std::vector<uint8_t>& indices)
{
    Bytes b{'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, uint32_t(width));
    Put16(b, uint32_t(height));
    b.push_back(0x81); // global table of 4 entries
    b.push_back(0);
    b.push_back(0);
    for (int i = 0; i < 4; ++i)
    {
        b.push_back(uint8_t(palette[i] >> 16));
        b.push_back(uint8_t(palette[i] >> 8));
        b.push_back(uint8_t(palette[i]));
    }
    const unsigned char gce[] = {0x21, 0xF9, 4, 1, 0, 0, 0, 0};
    b.insert(b.end(), gce, gce + sizeof gce);
    b.push_back(0x2C);
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, uint32_t(width));
    Put16(b, uint32_t(height));
    b.push_back(0);
    b.push_back(2); // minimum code size
    // 3-bit codes; a clear code before every pair keeps the table from growing.
    Bytes lzw;
    uint32_t acc = 0;
    int bits = 0;
    auto emit = [&](uint32_t code) {
        acc |= code << bits;
        bits += 3;
        while (bits >= 8)
        {
            lzw.push_back(uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < indices.size(); ++i)
    {
        if (i % 2 == 0)
            emit(4);
        emit(indices[i]);
    }
    emit(5);
    if (bits)
        lzw.push_back(uint8_t(acc));
    for (size_t i = 0; i < lzw.size(); i += 255)
    {
        const size_t n = std::min<size_t>(255, lzw.size() - i);
        b.push_back(uint8_t(n));
        b.insert(b.end(), lzw.begin() + long(i), lzw.begin() + long(i + n));
    }
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

Bytes MakeDds(const DdsHeader& h, const Bytes& data)
{
    Bytes b{'D', 'D', 'S', ' '};
    Put32(b, 124);
    Put32(b, 0x1007 | (h.mipCount > 1 ? 0x20000 : 0));
    Put32(b, h.height);
    Put32(b, h.width);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, h.mipCount);
    for (int i = 0; i < 11; ++i)
        Put32(b, 0);
    Put32(b, 32);
    if (h.fourCC)
    {
        Put32(b, 0x4);
        b.insert(b.end(), h.fourCC, h.fourCC + 4);
        for (int i = 0; i < 5; ++i)
            Put32(b, 0);
    }
    else
    {
        Put32(b, 0x41);
        Put32(b, 0);
        Put32(b, h.bitCount);
        for (uint32_t m : h.masks)
            Put32(b, m);
    }
    Put32(b, 0x1000);
    for (int i = 0; i < 4; ++i)
        Put32(b, 0);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

Bytes Argb32(const std::vector<uint32_t>& argb)
{
    Bytes b(argb.size() * 4);
    std::memcpy(b.data(), argb.data(), b.size());
    return b;
}
} // namespace fixtures
