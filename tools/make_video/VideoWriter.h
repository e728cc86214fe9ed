#pragma once

// Writes Ogg files with one Theora stream through libtheora's encoder: a
// block-aligned test pattern or numbered PNG frames, plus the damaged files
// the player's failure tests need.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace videowriter
{
enum class Chroma
{
    k420,
    k444,
};

struct Options
{
    uint32_t width = 64;  // multiple of 16, at least 48 for the pattern
    uint32_t height = 64; // multiple of 16, at least 48 for the pattern
    uint32_t frames = 8;
    uint32_t fpsNumerator = 25;
    uint32_t fpsDenominator = 1;
    Chroma chroma = Chroma::k420;
    int quality = 63;
    // Empty: the test pattern; otherwise every "*.png" of the folder by name.
    std::string pngFolder;

    // Failure fixtures: the identification header patched after encoding.
    bool zeroFpsNumerator = false;
    bool zeroFpsDenominator = false;
    // A made-up second logical stream beside the Theora one.
    bool secondStream = false;
};

struct OggFile
{
    std::string bytes;
    // Offsets just past each page, in file order.
    std::vector<size_t> pageEnds;
    // Offset of the first page after the three header packets.
    size_t dataStart = 0;
};

// False with a message on bad options or an encoder failure.
bool WriteVideo(const Options& options, OggFile* out, std::string* error);

// An Ogg file whose only stream is not Theora.
OggFile WriteNonTheora();

// The pattern: a band whose luma tells the frame, a band red on the left half
// and blue on the right, a grey middle and a dark bottom band, each a
// multiple of 16 rows so the encoder keeps it almost exactly.
constexpr uint32_t kBandRows = 16;
constexpr uint32_t kIndexBandTop = 0;
constexpr uint32_t kColourBandTop = 16;
constexpr uint8_t kMiddleLuma = 128;
constexpr uint8_t kDarkLuma = 16;
inline uint8_t IndexLuma(uint32_t frame) { return static_cast<uint8_t>(16 + 8 * (frame % 28)); }
// Inverse of IndexLuma for a decoded grey value.
inline uint32_t IndexFromLuma(int luma) { return static_cast<uint32_t>((luma - 16 + 4) / 8); }

struct Yuv
{
    uint8_t y, u, v;
};
Yuv PatternPixel(const Options& options, uint32_t frame, uint32_t x, uint32_t y);

// The exact inverse of the player's conversion, unclamped.
void RgbToYuv(double r, double g, double b, double* y, double* u, double* v);
} // namespace videowriter
