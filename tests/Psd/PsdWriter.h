#pragma once
// Test-side writer of layered-image documents: emits exactly the bytes the
// decoder reads, and remembers where every length and count field lies so the
// robustness sweep can damage them one by one.

#include <cstdint>
#include <string>
#include <vector>

#include "Psd/PsdTypes.h"

namespace psdtest {

using Bytes = std::vector<uint8_t>;

// A length or count field inside a written document.
struct Field {
    size_t offset;
    int size;  // 2 or 4 bytes
};

// Big-endian byte builder with back-patched lengths.
class Writer {
public:
    Bytes data;
    std::vector<Field> fields;

    void u8(unsigned v) { data.push_back(uint8_t(v)); }
    void u16(unsigned v);
    void u32(uint32_t v);
    void f64(double v);
    void key(const char* four) { raw(reinterpret_cast<const uint8_t*>(four), 4); }
    void raw(const uint8_t* p, size_t n) { data.insert(data.end(), p, p + n); }
    void raw(const Bytes& b) { data.insert(data.end(), b.begin(), b.end()); }
    void zeros(size_t n) { data.insert(data.end(), n, 0); }
    // A count or length written as a value (recorded for the sweep).
    void count16(unsigned v);
    void count32(uint32_t v);
    // A 32-bit length of what follows, patched by end(); `align` pads what follows.
    size_t begin32();
    void end32(size_t at, int align = 1, bool pad_counted = true);
    // Appends another writer's bytes, keeping its recorded fields.
    void append(const Writer& other);
    // Unicode string: a count and 2 bytes per character.
    void unicode(const std::string& ascii);
    // Descriptor key or class id: four characters, or a length and the bytes.
    void desc_key(const std::string& k);
};

// Channel encodings.
Bytes PackBitsRow(const uint8_t* row, size_t n);
// Row table of 16-bit counts then the packed rows.
Bytes RleEncode(const Bytes& plane, size_t rows, size_t row_bytes);
Bytes ZipEncode(const Bytes& plane);
// Horizontal delta of each row (8- or 16-bit samples), then zip.
Bytes ZipPredictEncode(const Bytes& plane, size_t row_samples, int depth);
// Compression code + payload for a plane.
Bytes EncodeChannel(const Bytes& plane, int compression, size_t rows, size_t row_samples, int depth);

struct Channel {
    Channel() = default;
    Channel(int16_t i, Bytes p, int c = 0) : id(i), plane(std::move(p)), compression(c) {}
    // A channel written as given (compression code included).
    static Channel Raw(int16_t i, Bytes encoded_bytes) {
        Channel c(i, {});
        c.use_raw = true;
        c.encoded = std::move(encoded_bytes);
        return c;
    }
    int16_t id = 0;
    Bytes plane;          // decoded bytes
    int compression = 0;  // 0 raw, 1 run-length, 2 zip, 3 zip with prediction
    bool use_raw = false; // write `encoded` as is (code included)
    Bytes encoded;
    size_t rows = 0, row_samples = 0;  // for run-length and prediction; 0: the layer's
};

struct Block {
    Block(std::string k, Bytes d) : key(std::move(k)), data(std::move(d)) {}
    std::string key;
    Bytes data;
    std::string signature = "8BIM";
    bool odd_length_as_is = false;  // write an odd length without padding the count
};

struct Layer {
    int32_t top = 0, left = 0, bottom = 0, right = 0;
    std::vector<Channel> channels;
    std::string blend = "norm";
    uint8_t opacity = 255, clipping = 0, flags = 0;
    std::string signature = "8BIM";
    Bytes mask;                  // mask data after its length
    bool blending_default = true;  // length 0
    Bytes blending;              // blending ranges after the length (when not default)
    std::string name;
    Bytes name_filler;           // override of the filler bytes after the name
    std::vector<Block> blocks;
    Bytes extra_tail;            // bytes after the blocks, inside the extra data
};

struct Resource {
    Resource(uint16_t i, Bytes d) : id(i), data(std::move(d)) {}
    uint16_t id;
    Bytes data;
    std::string name;
    std::string signature = "8BIM";
};

struct GlobalBlock {
    GlobalBlock(std::string k, Bytes d) : key(std::move(k)), data(std::move(d)) {}
    std::string key;
    Bytes data;  // for "Lr16": a whole layer information (with its own length)
};

struct Document {
    uint16_t channels = 3;
    uint32_t width = 0, height = 0;
    uint16_t depth = 8, mode = 3;
    std::string signature = "8BPS";
    uint16_t version = 1;
    Bytes colour_data;
    std::vector<Resource> resources;
    std::vector<Layer> layers;
    bool write_layers = true;
    int layer_count = -1;  // override (e.g. negative)
    bool layer_info_empty = false;
    Bytes global_mask;
    bool write_global_mask = true;
    std::vector<GlobalBlock> global_blocks;
    int merged_compression = 0;
    std::vector<Bytes> merged;  // one plane per channel; empty: zeros
    bool write_merged = true;
    Bytes merged_raw;           // written as is after the compression code when set

    Writer Build() const;
    Bytes Bytes_() const { return Build().data; }
};

// Layer information (length included) for a set of layers at a depth.
Writer LayerInfo(const std::vector<Layer>& layers, int depth, int count_override = -1);

// Loads bytes through the internal file entry.
psdr_status Load(const Bytes& bytes, psdr_image** out, psdr_load_tag tag = 0,
                 size_t budget = size_t(256) << 20);

// Planes helpers.
Bytes Fill(size_t n, uint8_t v);
Bytes Ramp(size_t n, unsigned seed);

// Descriptor pieces.
void DescColour(Writer& w, double r, double g, double b);
void DescUnitDouble(Writer& w, const std::string& key, const char* unit, double v);
void DescBool(Writer& w, const std::string& key, bool v);
void DescEnum(Writer& w, const std::string& key, const std::string& type, const std::string& value);

// A JPEG made with libjpeg's compressor; components 1, 3 or 4.
Bytes MakeJpeg(int width, int height, int components, bool progressive, bool adobe_marker,
               unsigned seed);
// Thumbnail resource data for a JPEG.
Bytes ThumbnailResource(const Bytes& jpeg, int width, int height, uint32_t declared_size);

}  // namespace psdtest

namespace psdtest {
// A document of a few KB that uses every part of the format the decoder reads:
// resources with a thumbnail, groups, masks, every channel compression,
// effects, adjustments, descriptors, patterns and a run-length merged image.
Document FullFeaturedDocument();
// Smaller seeds for the fuzz target, one per area of the format.
std::vector<Bytes> SeedDocuments();
}  // namespace psdtest
