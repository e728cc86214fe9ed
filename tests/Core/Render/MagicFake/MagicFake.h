#pragma once
// Records every Magic_ call as a line of text and answers from a script, so
// a test can pin the exact calls the program makes.

#include "Platform/Magic/Magic.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace magicfake {

struct Item {
    std::string name;
    bool folder = false;
    std::vector<Item> children;
};

inline Item Folder(std::string name, std::vector<Item> children) { return {std::move(name), true, std::move(children)}; }
inline Item Effect(std::string name) { return {std::move(name), false, {}}; }

struct ScriptedList {
    int texture = 0;
    int intense = 0;
    std::vector<MagicVertexRecord> particles;
    int reportedCount = -1;  // the count the list claims; -1: the particles it holds
};

struct EmitterScript {
    bool interrupt = false;
    bool inInterval = false;
    bool interpolation = true;
    bool updateResult = true;
    float position[2] = {0, 0};
    std::vector<ScriptedList> lists;
};

class Fake {
public:
    static Fake& Get();
    // Forgets the calls and the script.
    void Reset();

    // The script.
    int fileHandle = 1;                 // what Magic_OpenFileInMemory returns
    std::vector<Item> root;             // the library's tree
    std::vector<std::string> atlases;   // atlas file names
    std::set<std::string> failingLoads; // Magic_LoadEmitter gives 0 for these names
    double updateTime = 1000.0 / 60.0;
    // Per emitter handle; a handle not listed answers with the defaults.
    std::map<int, EmitterScript> emitters;

    // What happened.
    std::vector<std::string> calls;     // e.g. "Update(101, 16.7)"; vertex reads are only counted
    int vertexReads = 0;
    std::vector<std::string> openedTexts;

    // Calls whose line starts with this prefix.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

    // Internal state of the fake's own walks.
    std::vector<const std::vector<Item>*> path;  // current folder chain, root first
    std::vector<const std::vector<Item>*> folders;
    int lastEmitter = 100;
    int listEmitter = 0, listIndex = 0, handed = 0;
};

}  // namespace magicfake
