#include "Platform/Magic/Registry.h"

#include <climits>

namespace magic {

Registry& Registry::Get() {
    static Registry* registry = new Registry;  // never destroyed: see the header
    return *registry;
}

int Registry::Open(std::unique_ptr<Library> library) {
    if (!library || lastFile_ == INT_MAX)
        return 0;
    int id = ++lastFile_;
    auto f = std::make_unique<OpenFile>();
    f->library = std::move(library);
    files_.emplace(id, std::move(f));
    return id;
}

void Registry::Close(int file) {
    for (auto it = emitters_.begin(); it != emitters_.end();)
        it = it->second->file == file ? emitters_.erase(it) : std::next(it);
    files_.erase(file);
}

OpenFile* Registry::File(int file) {
    auto it = files_.find(file);
    return it == files_.end() ? nullptr : it->second.get();
}

int Registry::NextEmitterId() {
    // Ids are never reused, so a stale handle can never reach a newer emitter.
    return lastEmitter_ == INT_MAX ? 0 : ++lastEmitter_;
}

int Registry::AddEmitter(int file, const Emitter& prototype) {
    OpenFile* f = File(file);
    if (!f)
        return 0;
    int id = NextEmitterId();
    if (id == 0)
        return 0;
    emitters_.emplace(id, std::make_unique<Instance>(Instance{file, prototype.Duplicate(++f->instances)}));
    return id;
}

int Registry::Load(int file, const EmitterDef& def) {
    // A fresh instance is a duplicate of one with default settings.
    return AddEmitter(file, Emitter(def, 0));
}

Instance* Registry::Find(int emitter) {
    auto it = emitters_.find(emitter);
    return it == emitters_.end() ? nullptr : it->second.get();
}

void Registry::Unload(int emitter) { emitters_.erase(emitter); }

}  // namespace magic
