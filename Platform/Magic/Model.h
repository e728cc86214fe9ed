#pragma once
// The parsed particle library: folders, effects and atlases. A library is
// built once by the parser and never changed afterwards, so the names it
// hands out stay valid for as long as it lives.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace magic {

enum class Shape { Point, Rect, Circle, Line };

// One kind of particle of an effect; drawn in document order.
struct ParticleType {
    int atlas = 0;
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
    bool intense = false;
    double rate = 10;       // births per second of emission
    int burst = 0;          // births each time the cycle reaches interval1
    double life = 1000, lifeVar = 0;
    double speed = 100, speedVar = 0;
    double angle = 0, spread = 360;
    double gravityX = 0, gravityY = 0;
    double size0 = 16, size1 = 16, sizeVar = 0;
    double rot = 0, rotVar = 0, spin = 0;
    uint32_t color0 = 0xFFFFFFFFu, color1 = 0x00FFFFFFu;
    int max = 500;
    int line = 0;           // where it was declared, for tools
};

struct EmitterDef {
    std::string name;
    double interval1 = 0, interval2 = 1000;
    uint32_t seed = 1;
    Shape shape = Shape::Point;
    double shapeW = 0, shapeH = 0;
    std::vector<ParticleType> types;
    int line = 0;
};

struct FolderItem {
    bool isFolder;
    int index;              // into Library::folders or Library::emitters
};

struct Folder {
    std::string name;       // empty for the root
    int parent = 0;         // the root is its own parent
    std::vector<FolderItem> items;  // document order
};

struct Library {
    std::vector<Folder> folders;        // [0] is the root
    std::vector<EmitterDef> emitters;
    std::vector<std::string> atlases;   // picture file names, by index
};

}  // namespace magic
