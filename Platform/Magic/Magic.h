#pragma once
// The particle library's C interface: exactly the calls the program makes.
// Handles are plain ints (0 = none). Every call given an unknown handle or a
// null pointer does nothing and returns 0, false or null. Main thread only.

#include <cstdint>

extern "C" {

// Walk state of Magic_FindFirst / Magic_FindNext; fields ending in '_' are the library's.
struct MagicFindRecord {
    int mode;        // bit 0 lists folders, bit 1 emitters
    int is_folder;
    int is_emitter;
    int folder_;
    int next_;
    const char* name;
};

struct MagicAtlasRecord {
    const char* file;  // picture file name relative to the particle folder
};

// One rendered list; the walk state lives in the record.
struct MagicListRecord {
    int count;    // particles in the list; 0 ends the walk
    int texture;  // atlas index
    int intense;  // 1 = additive blending
    int emitter_;
    int type_;
    int first_;
};

struct MagicVertexRecord {
    struct {
        float x, y, u, v;
    } corner[4];     // clockwise on screen from the top-left
    uint32_t color;  // ARGB
};

enum {
    MAGIC_FIND_FOLDERS = 1,
    MAGIC_FIND_EMITTERS = 2,
};

int Magic_OpenFileInMemory(const char* text);
int Magic_SetCurrentFolder(int file, const char* path);
const char* Magic_FindFirst(int file, MagicFindRecord* find, int mode);
const char* Magic_FindNext(int file, MagicFindRecord* find);
int Magic_GetStaticAtlasCount(int file);
int Magic_GetStaticAtlas(int file, int index, MagicAtlasRecord* atlas);

int Magic_LoadEmitter(int file, const char* name);
int Magic_DuplicateEmitter(int emitter);
void Magic_UnloadEmitter(int emitter);
void Magic_SetInterpolationMode(int emitter, bool on);
bool Magic_IsInterpolationMode(int emitter);
double Magic_GetUpdateTime(int emitter);
void Magic_SetLoopMode(int emitter, int mode);

bool Magic_Update(int emitter, double ms);
void Magic_Stop(int emitter);
bool Magic_IsInterrupt(int emitter);
void Magic_SetInterrupt(int emitter, bool on);
bool Magic_InInterval(int emitter);
void Magic_EmitterToInterval1(int emitter, float speed, const char* file);

void Magic_SetEmitterPositionMode(int emitter, int mode);
void Magic_SetEmitterPosition(int emitter, const float* xy);
void Magic_GetEmitterPosition(int emitter, float* xy);
void Magic_SetEmitterDirection(int emitter, const float* degrees);

void Magic_CreateFirstRenderedParticlesList(int emitter, MagicListRecord* list);
void Magic_CreateNextRenderedParticlesList(MagicListRecord* list);
int Magic_GetNextParticleVertexes(MagicVertexRecord* vertex);

}  // extern "C"
