#include "Core/Video/YuvToRgb.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
using video::ConvertYuvToArgb;
using video::YuvToArgb;

TEST(YuvToRgb, TableSpotValues)
{
    // Nearest integer to c x (k - 128), halves upward.
    struct Case
    {
        int (*table)(uint8_t);
        uint8_t k;
        int expected;
    };
    const Case cases[] = {
        {video::TableRv, 255, 220}, {video::TableRv, 128, 0},  {video::TableRv, 0, -222},
        {video::TableGv, 255, 89},  {video::TableGv, 0, -89},  {video::TableGv, 129, 1},
        {video::TableGu, 255, 43},  {video::TableGu, 0, -43},  {video::TableGu, 127, 0},
        {video::TableBu, 255, 220}, {video::TableBu, 0, -222}, {video::TableBu, 128, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.table(c.k), c.expected) << int(c.k);
}

TEST(YuvToRgb, Pixels)
{
    struct Case
    {
        uint8_t y, u, v;
        uint32_t expected;
    };
    const Case cases[] = {
        {128, 128, 128, 0xFF808080u}, // grey
        {0, 128, 255, 0xFFDC0000u},   // R 220, G clamped up to 0
        {255, 128, 255, 0xFFFFA6FFu}, // R clamped down to 255
        {0, 0, 0, 0xFF008400u},       // R and B clamped up
        {255, 255, 255, 0xFFFF7BFFu},
        {0, 0, 128, 0xFF002B00u},     // G from U alone
    };
    for (const Case& c : cases)
        EXPECT_EQ(YuvToArgb(c.y, c.u, c.v), c.expected) << int(c.y) << "," << int(c.u) << "," << int(c.v);
}

// A frame built in memory, every plane padded past its width like the decoder's.
struct Frame
{
    int width, height, uvWidth, uvHeight, yStride, uvStride;
    std::vector<unsigned char> y, u, v;

    Frame(int w, int h, int uvW, int uvH, int pad)
        : width(w), height(h), uvWidth(uvW), uvHeight(uvH), yStride(w + pad), uvStride(uvW + pad),
          y(size_t(yStride) * h, 0x77), u(size_t(uvStride) * uvH, 128), v(size_t(uvStride) * uvH, 128)
    {
    }
    yuv_buffer Buffer()
    {
        yuv_buffer b{};
        b.y_width = width;
        b.y_height = height;
        b.y_stride = yStride;
        b.uv_width = uvWidth;
        b.uv_height = uvHeight;
        b.uv_stride = uvStride;
        b.y = y.data();
        b.u = u.data();
        b.v = v.data();
        return b;
    }
};

TEST(YuvToRgb, ChromaSharedBy2x2BlockIn420)
{
    Frame f(4, 4, 2, 2, 3);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            f.y[size_t(r) * f.yStride + c] = 100;
    f.v[0] = 255;              // top-left block red
    f.u[1] = 255;              // top-right block blue
    f.v[f.uvStride] = 0;       // bottom-left block
    f.u[f.uvStride + 1] = 0;   // bottom-right block
    std::vector<uint32_t> out(16, 0);
    ConvertYuvToArgb(f.Buffer(), 16, out.data(), 4, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
        {
            const uint8_t u = (r < 2) ? (c < 2 ? 128 : 255) : (c < 2 ? 128 : 0);
            const uint8_t v = (r < 2) ? (c < 2 ? 255 : 128) : (c < 2 ? 0 : 128);
            EXPECT_EQ(out[size_t(r) * 4 + c], YuvToArgb(100, u, v)) << r << "," << c;
        }
}

TEST(YuvToRgb, ChromaPerPixelIn444)
{
    Frame f(4, 2, 4, 2, 0);
    for (int i = 0; i < 8; ++i)
    {
        f.y[size_t(i)] = static_cast<unsigned char>(40 + i * 20);
        f.u[size_t(i)] = static_cast<unsigned char>(i * 30);
        f.v[size_t(i)] = static_cast<unsigned char>(250 - i * 30);
    }
    std::vector<uint32_t> out(8, 0);
    ConvertYuvToArgb(f.Buffer(), 16, out.data(), 4, 2);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(out[i], YuvToArgb(f.y[i], f.u[i], f.v[i])) << i;
}

TEST(YuvToRgb, StridesLargerThanWidthAndPitchCutToWholePixels)
{
    Frame f(2, 2, 1, 1, 5);
    f.y[0] = 10;
    f.y[1] = 20;
    f.y[size_t(f.yStride)] = 30;
    f.y[size_t(f.yStride) + 1] = 40;
    // 11 bytes per row: cut to 8, so the second row starts at pixel 2.
    std::vector<uint32_t> out(6, 0);
    ConvertYuvToArgb(f.Buffer(), 11, out.data(), 2, 2);
    EXPECT_EQ(out[0], 0xFF0A0A0Au);
    EXPECT_EQ(out[1], 0xFF141414u);
    EXPECT_EQ(out[2], 0xFF1E1E1Eu);
    EXPECT_EQ(out[3], 0xFF282828u);
    EXPECT_EQ(out[4], 0u);
}

TEST(YuvToRgb, SmallerTargetLeavesGuardUntouched)
{
    // A 16 x 16 frame into 8 x 4 and into a 16 x 16 lock whose pitch holds 5 pixels.
    struct Case
    {
        uint32_t width, height;
        int pitch;
        size_t written;
    };
    const Case cases[] = {{8, 4, 32, 32}, {16, 16, 20, 80}, {0, 16, 64, 0}};
    for (const Case& c : cases)
    {
        Frame f(16, 16, 8, 8, 16);
        const size_t rowPixels = size_t(c.pitch) / 4;
        std::vector<uint32_t> out(rowPixels * c.height + 8, 0x12345678u);
        ConvertYuvToArgb(f.Buffer(), c.pitch, out.data(), c.width, c.height);
        size_t changed = 0;
        for (size_t i = 0; i < out.size(); ++i)
            changed += out[i] != 0x12345678u;
        EXPECT_EQ(changed, c.written) << c.width << "x" << c.height;
        for (size_t i = rowPixels * c.height; i < out.size(); ++i)
            EXPECT_EQ(out[i], 0x12345678u) << i;
    }
}
} // namespace
