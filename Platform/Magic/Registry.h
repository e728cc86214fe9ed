#pragma once
// The library's tables: open files and emitter instances by handle. One
// heap object that is never destroyed, so emitters may still be unloaded
// while the process exits.

#include "Platform/Magic/Emitter.h"
#include "Platform/Magic/Model.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace magic {

struct OpenFile {
    std::unique_ptr<Library> library;
    int currentFolder = 0;
    uint32_t instances = 0;  // ordinals given out so far
};

struct Instance {
    int file;
    Emitter emitter;
};

// The one list that Magic_GetNextParticleVertexes reads.
struct CurrentList {
    int emitter = 0;
    uint64_t generation = 0;
    ListCursor cursor;
    int handed = 0;
};

class Registry {
public:
    static Registry& Get();

    // Takes a parsed library; returns its handle (>= 1), or 0 when handles ran out.
    int Open(std::unique_ptr<Library> library);
    // Forgets a file and unloads its emitters; the names it handed out die with it.
    // Only tools and tests that open many files use this.
    void Close(int file);
    OpenFile* File(int file);

    // A new instance of the file's effect; 0 when handles ran out.
    int AddEmitter(int file, const Emitter& prototype);
    int Load(int file, const EmitterDef& def);
    Instance* Find(int emitter);
    void Unload(int emitter);

    CurrentList current;

private:
    int NextEmitterId();

    std::unordered_map<int, std::unique_ptr<OpenFile>> files_;
    std::unordered_map<int, std::unique_ptr<Instance>> emitters_;
    int lastFile_ = 0;
    int lastEmitter_ = 0;
};

}  // namespace magic
