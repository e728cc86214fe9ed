#include "MagicFake.h"

#include <charconv>
#include <cstring>

namespace magicfake {

Fake& Fake::Get() {
    static Fake fake;
    return fake;
}

void Fake::Reset() { *this = Fake(); }

std::vector<std::string> Fake::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            out.push_back(c);
    return out;
}

}  // namespace magicfake

namespace {

using magicfake::Fake;

std::string Num(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

void Record(const std::string& call) { Fake::Get().calls.push_back(call); }

magicfake::EmitterScript& Script(int e) { return Fake::Get().emitters[e]; }

const std::vector<magicfake::Item>& Current() {
    Fake& f = Fake::Get();
    return f.path.empty() ? f.root : *f.path.back();
}

int FolderId(const std::vector<magicfake::Item>* folder) {
    Fake& f = Fake::Get();
    for (size_t i = 0; i < f.folders.size(); ++i)
        if (f.folders[i] == folder)
            return static_cast<int>(i);
    f.folders.push_back(folder);
    return static_cast<int>(f.folders.size() - 1);
}

const char* FindFrom(MagicFindRecord* r) {
    Fake& f = Fake::Get();
    if (r->folder_ >= 0 && r->folder_ < static_cast<int>(f.folders.size())) {
        const auto& items = *f.folders[r->folder_];
        while (r->next_ < static_cast<int>(items.size())) {
            const magicfake::Item& it = items[r->next_++];
            if ((it.folder && (r->mode & 1)) || (!it.folder && (r->mode & 2))) {
                r->is_folder = it.folder;
                r->is_emitter = !it.folder;
                r->name = it.name.c_str();
                return r->name;
            }
        }
    }
    r->name = nullptr;
    return nullptr;
}

void FillList(MagicListRecord* list) {
    Fake& f = Fake::Get();
    const auto& lists = Script(list->emitter_).lists;
    f.listEmitter = list->emitter_;
    f.listIndex = list->type_;
    f.handed = 0;
    if (list->type_ < static_cast<int>(lists.size())) {
        const auto& l = lists[list->type_];
        list->count = l.reportedCount >= 0 ? l.reportedCount : static_cast<int>(l.particles.size());
        list->texture = l.texture;
        list->intense = l.intense;
    } else {
        list->count = list->texture = list->intense = 0;
    }
}

}  // namespace

extern "C" {

int Magic_OpenFileInMemory(const char* text) {
    Record("OpenFileInMemory");
    Fake::Get().openedTexts.push_back(text ? text : "");
    return Fake::Get().fileHandle;
}

int Magic_SetCurrentFolder(int file, const char* path) {
    Record("SetCurrentFolder(" + std::to_string(file) + ", " + path + ")");
    Fake& f = Fake::Get();
    if (!*path) {
        f.path.clear();
        return 1;
    }
    if (std::strcmp(path, "..") == 0) {
        if (!f.path.empty())
            f.path.pop_back();
        return 1;
    }
    for (const auto& it : Current())
        if (it.folder && it.name == path) {
            f.path.push_back(&it.children);
            return 1;
        }
    return 0;
}

const char* Magic_FindFirst(int file, MagicFindRecord* find, int mode) {
    Record("FindFirst(" + std::to_string(file) + ", " + std::to_string(mode) + ")");
    find->mode = mode;
    find->folder_ = FolderId(&Current());
    find->next_ = 0;
    return FindFrom(find);
}

const char* Magic_FindNext(int file, MagicFindRecord* find) {
    Record("FindNext(" + std::to_string(file) + ")");
    return FindFrom(find);
}

int Magic_GetStaticAtlasCount(int file) {
    Record("GetStaticAtlasCount(" + std::to_string(file) + ")");
    return static_cast<int>(Fake::Get().atlases.size());
}

int Magic_GetStaticAtlas(int file, int index, MagicAtlasRecord* atlas) {
    Record("GetStaticAtlas(" + std::to_string(file) + ", " + std::to_string(index) + ")");
    const auto& a = Fake::Get().atlases;
    if (index < 0 || index >= static_cast<int>(a.size()))
        return 0;
    atlas->file = a[index].c_str();
    return 1;
}

int Magic_LoadEmitter(int file, const char* name) {
    Fake& f = Fake::Get();
    int e = f.failingLoads.count(name) ? 0 : ++f.lastEmitter;
    Record("LoadEmitter(" + std::to_string(file) + ", " + name + ") = " + std::to_string(e));
    return e;
}

int Magic_DuplicateEmitter(int emitter) {
    int e = ++Fake::Get().lastEmitter;
    Record("DuplicateEmitter(" + std::to_string(emitter) + ") = " + std::to_string(e));
    return e;
}

void Magic_UnloadEmitter(int emitter) { Record("UnloadEmitter(" + std::to_string(emitter) + ")"); }

void Magic_SetInterpolationMode(int emitter, bool on) {
    Record("SetInterpolationMode(" + std::to_string(emitter) + ", " + std::to_string(on) + ")");
    Script(emitter).interpolation = on;
}

bool Magic_IsInterpolationMode(int emitter) {
    Record("IsInterpolationMode(" + std::to_string(emitter) + ")");
    return Script(emitter).interpolation;
}

double Magic_GetUpdateTime(int emitter) {
    Record("GetUpdateTime(" + std::to_string(emitter) + ")");
    return Fake::Get().updateTime;
}

void Magic_SetLoopMode(int emitter, int mode) {
    Record("SetLoopMode(" + std::to_string(emitter) + ", " + std::to_string(mode) + ")");
}

bool Magic_Update(int emitter, double ms) {
    Record("Update(" + std::to_string(emitter) + ", " + Num(ms) + ")");
    return Script(emitter).updateResult;
}

void Magic_Stop(int emitter) { Record("Stop(" + std::to_string(emitter) + ")"); }

bool Magic_IsInterrupt(int emitter) {
    Record("IsInterrupt(" + std::to_string(emitter) + ")");
    return Script(emitter).interrupt;
}

void Magic_SetInterrupt(int emitter, bool on) {
    Record("SetInterrupt(" + std::to_string(emitter) + ", " + std::to_string(on) + ")");
    Script(emitter).interrupt = on;
}

bool Magic_InInterval(int emitter) {
    Record("InInterval(" + std::to_string(emitter) + ")");
    return Script(emitter).inInterval;
}

void Magic_EmitterToInterval1(int emitter, float speed, const char* file) {
    Record("EmitterToInterval1(" + std::to_string(emitter) + ", " + Num(speed) + ", " + (file ? file : "null") + ")");
}

void Magic_SetEmitterPositionMode(int emitter, int mode) {
    Record("SetEmitterPositionMode(" + std::to_string(emitter) + ", " + std::to_string(mode) + ")");
}

void Magic_SetEmitterPosition(int emitter, const float* xy) {
    Record("SetEmitterPosition(" + std::to_string(emitter) + ", " + Num(xy[0]) + ", " + Num(xy[1]) + ")");
    Script(emitter).position[0] = xy[0];
    Script(emitter).position[1] = xy[1];
}

void Magic_GetEmitterPosition(int emitter, float* xy) {
    Record("GetEmitterPosition(" + std::to_string(emitter) + ")");
    xy[0] = Script(emitter).position[0];
    xy[1] = Script(emitter).position[1];
}

void Magic_SetEmitterDirection(int emitter, const float* degrees) {
    Record("SetEmitterDirection(" + std::to_string(emitter) + ", " + Num(*degrees) + ")");
}

void Magic_CreateFirstRenderedParticlesList(int emitter, MagicListRecord* list) {
    Record("CreateFirstRenderedParticlesList(" + std::to_string(emitter) + ")");
    list->emitter_ = emitter;
    list->type_ = 0;
    list->first_ = 0;
    FillList(list);
}

void Magic_CreateNextRenderedParticlesList(MagicListRecord* list) {
    Record("CreateNextRenderedParticlesList(" + std::to_string(list->emitter_) + ")");
    ++list->type_;
    FillList(list);
}

int Magic_GetNextParticleVertexes(MagicVertexRecord* vertex) {
    Fake& f = Fake::Get();
    ++f.vertexReads;
    const auto& lists = Script(f.listEmitter).lists;
    if (f.listIndex >= static_cast<int>(lists.size()) ||
        f.handed >= static_cast<int>(lists[f.listIndex].particles.size()))
        return 0;
    *vertex = lists[f.listIndex].particles[f.handed++];
    return 1;
}

}  // extern "C"
