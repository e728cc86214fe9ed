#include "Picture.h"

#include <jpeglib.h>
#include <png.h>

#include <cctype>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <memory>

namespace playthrough
{
namespace
{
struct FileCloser
{
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

float Grey(uint32_t pixel)
{
    return 0.299f * float((pixel >> 16) & 0xFF) + 0.587f * float((pixel >> 8) & 0xFF) + 0.114f * float(pixel & 0xFF);
}
} // namespace

bool SavePng(const Picture& picture, const std::string& path)
{
    if (picture.Empty())
        return false;
    File file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file.get());
    // Screenshots are opaque frames: RGB keeps the files small.
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(picture.width) * 3);
    for (uint32_t y = 0; y < picture.height; ++y)
    {
        for (uint32_t x = 0; x < picture.width; ++x)
        {
            const uint32_t pixel = picture.At(x, y);
            row[x * 3 + 0] = png_byte(pixel >> 16);
            row[x * 3 + 1] = png_byte(pixel >> 8);
            row[x * 3 + 2] = png_byte(pixel);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool LoadPng(const std::string& path, Picture& out)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_BGRA; // little-endian words of packed ARGB
    out.width = image.width;
    out.height = image.height;
    out.argb.assign(size_t(image.width) * image.height, 0);
    if (!png_image_finish_read(&image, nullptr, out.argb.data(), 0, nullptr))
    {
        png_image_free(&image);
        out = {};
        return false;
    }
    return true;
}

namespace
{
struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); }
} // namespace

bool LoadJpeg(const std::string& path, Picture& out)
{
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpOnError;
    if (setjmp(error.jump))
    {
        jpeg_destroy_decompress(&info);
        out = {};
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = info.output_width;
    out.height = info.output_height;
    out.argb.assign(size_t(out.width) * out.height, 0);
    std::vector<JSAMPLE> row(size_t(out.width) * 3);
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW rows[] = {row.data()};
        const uint32_t y = info.output_scanline;
        jpeg_read_scanlines(&info, rows, 1);
        for (uint32_t x = 0; x < out.width; ++x)
            out.argb[size_t(y) * out.width + x] =
                0xFF000000u | uint32_t(row[x * 3]) << 16 | uint32_t(row[x * 3 + 1]) << 8 | row[x * 3 + 2];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool LoadContentPicture(const std::string& base, Picture& out)
{
    return LoadPng(base + ".png", out) || LoadJpeg(base + ".jpg", out);
}

std::string FileSafe(const std::string& name)
{
    std::string out;
    for (char c : name)
        out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return out;
}

std::string SaveFailureShot(const std::string& folder, const std::string& step, const Picture& picture)
{
    const std::string path = folder + "/FAIL_" + FileSafe(step) + ".png";
    return SavePng(picture, path) ? path : std::string();
}

float GreyDeviation(const Picture& picture)
{
    if (picture.Empty())
        return 0.0f;
    double sum = 0.0, squares = 0.0;
    for (uint32_t pixel : picture.argb)
    {
        const double grey = Grey(pixel);
        sum += grey;
        squares += grey * grey;
    }
    const double count = double(picture.argb.size());
    const double mean = sum / count;
    return float(std::sqrt(std::max(0.0, squares / count - mean * mean)));
}

bool Differs(const Picture& a, const Picture& b)
{
    return a.width != b.width || a.height != b.height || a.argb != b.argb;
}

MeanColor MeanOf(const Picture& picture, int x, int y, int size)
{
    MeanColor mean;
    int count = 0;
    for (int py = std::max(0, y); py < std::min(int(picture.height), y + size); ++py)
        for (int px = std::max(0, x); px < std::min(int(picture.width), x + size); ++px)
        {
            const uint32_t pixel = picture.At(uint32_t(px), uint32_t(py));
            mean.a += float(pixel >> 24);
            mean.r += float((pixel >> 16) & 0xFF);
            mean.g += float((pixel >> 8) & 0xFF);
            mean.b += float(pixel & 0xFF);
            ++count;
        }
    if (count == 0)
        return mean;
    mean.r /= float(count);
    mean.g /= float(count);
    mean.b /= float(count);
    mean.a /= float(count);
    return mean;
}
} // namespace playthrough
