// Arbitrary bytes as a particle library: open it, then load, duplicate,
// start, advance and draw every effect it holds.

#include "Platform/Magic/Magic.h"
#include "Platform/Magic/Registry.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Play(int emitter) {
    Magic_SetLoopMode(emitter, 1);
    int copy = Magic_DuplicateEmitter(emitter);
    Magic_EmitterToInterval1(copy, 1.0f, nullptr);
    for (double ms : {0.0, 16.0, 500.0, 5000.0}) {
        Magic_Update(copy, ms);
        MagicListRecord list{};
        MagicVertexRecord v;
        for (Magic_CreateFirstRenderedParticlesList(copy, &list); list.count > 0;
             Magic_CreateNextRenderedParticlesList(&list))
            while (Magic_GetNextParticleVertexes(&v)) {
            }
    }
    Magic_UnloadEmitter(copy);
}

void Walk(int file) {
    MagicFindRecord find;
    for (const char* name = Magic_FindFirst(file, &find, 3); name; name = Magic_FindNext(file, &find)) {
        if (find.is_emitter) {
            int e = Magic_LoadEmitter(file, name);
            Play(e);
            Magic_UnloadEmitter(e);
        } else if (Magic_SetCurrentFolder(file, name)) {
            Walk(file);
            Magic_SetCurrentFolder(file, "..");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);  // std::string adds the zero
    int file = Magic_OpenFileInMemory(text.c_str());
    if (file <= 0)
        return 0;
    MagicAtlasRecord atlas;
    for (int i = 0; i < Magic_GetStaticAtlasCount(file); ++i)
        Magic_GetStaticAtlas(file, i, &atlas);
    Walk(file);
    magic::Registry::Get().Close(file);  // the fuzzer opens far more files than a program
    return 0;
}
