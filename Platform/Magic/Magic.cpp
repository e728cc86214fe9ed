// The C interface over our engine: handle checks and record filling only.

#include "Platform/Magic/Magic.h"

#include "Platform/Magic/Parser.h"
#include "Platform/Magic/Registry.h"

#include <cstring>

using magic::Registry;

namespace {

magic::Emitter* FindEmitter(int e) {
    magic::Instance* i = Registry::Get().Find(e);
    return i ? &i->emitter : nullptr;
}

const char* FindFrom(magic::OpenFile& f, MagicFindRecord* r) {
    const auto& folders = f.library->folders;
    if (r->folder_ >= 0 && r->folder_ < static_cast<int>(folders.size())) {
        const magic::Folder& folder = folders[r->folder_];
        while (r->next_ >= 0 && r->next_ < static_cast<int>(folder.items.size())) {
            magic::FolderItem item = folder.items[r->next_++];
            if ((item.isFolder && (r->mode & MAGIC_FIND_FOLDERS)) ||
                (!item.isFolder && (r->mode & MAGIC_FIND_EMITTERS))) {
                r->is_folder = item.isFolder;
                r->is_emitter = !item.isFolder;
                r->name = item.isFolder ? folders[item.index].name.c_str()
                                        : f.library->emitters[item.index].name.c_str();
                return r->name;
            }
        }
    }
    r->is_folder = r->is_emitter = 0;
    r->name = nullptr;
    return nullptr;
}

void EndList(MagicListRecord* list) {
    list->count = list->texture = list->intense = 0;
    Registry::Get().current = magic::CurrentList{};
}

// Makes the record's list the library's current one.
void PublishList(int e, const magic::Emitter& em, const magic::ListCursor& c, MagicListRecord* list) {
    list->emitter_ = e;
    list->type_ = c.type;
    list->first_ = c.first;
    list->count = c.count;
    if (c.count > 0) {
        const magic::ParticleType& t = em.Def().types[c.type];
        list->texture = t.atlas;
        list->intense = t.intense ? 1 : 0;
    } else {
        list->texture = list->intense = 0;
    }
    Registry::Get().current = magic::CurrentList{e, em.Generation(), c, 0};
}

}  // namespace

extern "C" {

int Magic_OpenFileInMemory(const char* text) {
    if (!text)
        return 0;
    magic::ParseResult r = magic::ParseLibrary(text);
    return Registry::Get().Open(std::move(r.library));
}

int Magic_SetCurrentFolder(int file, const char* path) {
    magic::OpenFile* f = Registry::Get().File(file);
    if (!f || !path)
        return 0;
    if (!*path) {
        f->currentFolder = 0;
        return 1;
    }
    if (std::strcmp(path, "..") == 0) {
        f->currentFolder = f->library->folders[f->currentFolder].parent;
        return 1;
    }
    for (const auto& item : f->library->folders[f->currentFolder].items)
        if (item.isFolder && f->library->folders[item.index].name == path) {
            f->currentFolder = item.index;
            return 1;
        }
    return 0;
}

const char* Magic_FindFirst(int file, MagicFindRecord* find, int mode) {
    magic::OpenFile* f = Registry::Get().File(file);
    if (!find)
        return nullptr;
    find->mode = mode;
    find->folder_ = f ? f->currentFolder : -1;
    find->next_ = 0;
    if (!f) {
        find->is_folder = find->is_emitter = 0;
        find->name = nullptr;
        return nullptr;
    }
    return FindFrom(*f, find);
}

const char* Magic_FindNext(int file, MagicFindRecord* find) {
    magic::OpenFile* f = Registry::Get().File(file);
    if (!f || !find)
        return nullptr;
    return FindFrom(*f, find);
}

int Magic_GetStaticAtlasCount(int file) {
    magic::OpenFile* f = Registry::Get().File(file);
    return f ? static_cast<int>(f->library->atlases.size()) : 0;
}

int Magic_GetStaticAtlas(int file, int index, MagicAtlasRecord* atlas) {
    magic::OpenFile* f = Registry::Get().File(file);
    if (!f || !atlas || index < 0 || index >= static_cast<int>(f->library->atlases.size()))
        return 0;
    atlas->file = f->library->atlases[index].c_str();
    return 1;
}

int Magic_LoadEmitter(int file, const char* name) {
    magic::OpenFile* f = Registry::Get().File(file);
    if (!f || !name)
        return 0;
    const magic::Library& lib = *f->library;
    for (const auto& item : lib.folders[f->currentFolder].items)
        if (!item.isFolder && lib.emitters[item.index].name == name)
            return Registry::Get().Load(file, lib.emitters[item.index]);
    return 0;
}

int Magic_DuplicateEmitter(int emitter) {
    magic::Instance* i = Registry::Get().Find(emitter);
    return i ? Registry::Get().AddEmitter(i->file, i->emitter) : 0;
}

void Magic_UnloadEmitter(int emitter) { Registry::Get().Unload(emitter); }

void Magic_SetInterpolationMode(int emitter, bool on) {
    if (auto* e = FindEmitter(emitter))
        e->interpolation = on;
}

bool Magic_IsInterpolationMode(int emitter) {
    auto* e = FindEmitter(emitter);
    return e && e->interpolation;
}

double Magic_GetUpdateTime(int emitter) { return FindEmitter(emitter) ? 1000.0 / 60.0 : 0.0; }

void Magic_SetLoopMode(int emitter, int mode) {
    if (auto* e = FindEmitter(emitter))
        e->loopMode = (mode == 1 || mode == 2) ? mode : 0;
}

bool Magic_Update(int emitter, double ms) {
    auto* e = FindEmitter(emitter);
    return e && e->Update(ms);
}

void Magic_Stop(int emitter) {
    if (auto* e = FindEmitter(emitter))
        e->Stop();
}

bool Magic_IsInterrupt(int emitter) {
    auto* e = FindEmitter(emitter);
    return e && e->interrupt;
}

void Magic_SetInterrupt(int emitter, bool on) {
    if (auto* e = FindEmitter(emitter))
        e->interrupt = on;
}

bool Magic_InInterval(int emitter) {
    auto* e = FindEmitter(emitter);
    return e && e->Running();
}

void Magic_EmitterToInterval1(int emitter, float /*speed*/, const char* /*file*/) {
    if (auto* e = FindEmitter(emitter))
        e->ToInterval1();
}

void Magic_SetEmitterPositionMode(int emitter, int mode) {
    if (auto* e = FindEmitter(emitter))
        e->positionMode = mode;
}

void Magic_SetEmitterPosition(int emitter, const float* xy) {
    auto* e = FindEmitter(emitter);
    if (e && xy)
        e->SetPosition(xy[0], xy[1]);
}

void Magic_GetEmitterPosition(int emitter, float* xy) {
    auto* e = FindEmitter(emitter);
    if (e && xy) {
        xy[0] = static_cast<float>(e->X());
        xy[1] = static_cast<float>(e->Y());
    }
}

void Magic_SetEmitterDirection(int emitter, const float* degrees) {
    auto* e = FindEmitter(emitter);
    if (e && degrees)
        e->direction = *degrees;
}

void Magic_CreateFirstRenderedParticlesList(int emitter, MagicListRecord* list) {
    if (!list)
        return;
    auto* e = FindEmitter(emitter);
    if (!e) {
        // An unfilled record must still end the caller's walk.
        list->emitter_ = 0;
        EndList(list);
        return;
    }
    magic::ListCursor c;
    e->FirstList(c);
    PublishList(emitter, *e, c, list);
}

void Magic_CreateNextRenderedParticlesList(MagicListRecord* list) {
    if (!list)
        return;
    auto* e = FindEmitter(list->emitter_);
    if (!e) {
        EndList(list);
        return;
    }
    magic::ListCursor c{list->type_, list->first_, list->count};
    e->NextList(c);
    PublishList(list->emitter_, *e, c, list);
}

int Magic_GetNextParticleVertexes(MagicVertexRecord* vertex) {
    magic::CurrentList& cur = Registry::Get().current;
    auto* e = FindEmitter(cur.emitter);
    if (!vertex || !e || e->Generation() != cur.generation || cur.handed >= cur.cursor.count)
        return 0;
    int index = cur.cursor.first + cur.handed;
    if (cur.cursor.type < 0 || cur.cursor.type >= static_cast<int>(e->Def().types.size()) ||
        index >= e->LiveCount(cur.cursor.type))
        return 0;
    ++cur.handed;
    magic::Quad q = e->MakeQuad(cur.cursor.type, index);
    for (int k = 0; k < 4; ++k) {
        vertex->corner[k].x = q.corner[k].x;
        vertex->corner[k].y = q.corner[k].y;
        vertex->corner[k].u = q.corner[k].u;
        vertex->corner[k].v = q.corner[k].v;
    }
    vertex->color = q.color;
    return 1;
}

}  // extern "C"
