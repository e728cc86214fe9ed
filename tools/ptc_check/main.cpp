// ptc_check FILE: validates a particle library (.ptc) with the engine's own
// parser, lists its atlases and folder tree, and plays each effect once to
// report its peak particles, peak lists and end time. Exit 0 when the file
// is accepted, 1 when it is refused or unreadable, 2 on bad usage.

#include "Platform/Magic/Emitter.h"
#include "Platform/Magic/Parser.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr double kStepMs = 1.0;
constexpr double kLimitMs = 10000.0;

void Summarise(const magic::EmitterDef& def, const std::string& indent) {
    magic::Emitter e(def, 1);
    e.ToInterval1();
    int peakParticles = 0, peakLists = 0;
    double played = 0;
    bool ended = false;
    for (;;) {
        peakParticles = std::max(peakParticles, e.LiveCount());
        int lists = 0;
        magic::ListCursor c;
        for (bool more = e.FirstList(c); more; more = e.NextList(c))
            ++lists;
        peakLists = std::max(peakLists, lists);
        if (played >= kLimitMs)
            break;
        played += kStepMs;
        if (!e.Update(kStepMs)) {
            ended = true;
            break;
        }
    }
    std::printf("%s%s  (%zu type%s) peak %d particles, %d list%s, ", indent.c_str(), def.name.c_str(),
                def.types.size(), def.types.size() == 1 ? "" : "s", peakParticles, peakLists,
                peakLists == 1 ? "" : "s");
    if (ended)
        std::printf("ends at %.0f ms\n", played);
    else
        std::printf("still playing at %.0f ms\n", kLimitMs);
}

void PrintFolder(const magic::Library& lib, int folder, const std::string& indent) {
    for (const auto& item : lib.folders[folder].items) {
        if (item.isFolder) {
            std::printf("%s%s/\n", indent.c_str(), lib.folders[item.index].name.c_str());
            PrintFolder(lib, item.index, indent + "  ");
        } else {
            Summarise(lib.emitters[item.index], indent);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ptc_check FILE\n");
        return 2;
    }
    const std::filesystem::path path = argv[1];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read the file\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    // The engine reads up to the first zero byte, as the program hands it the file.
    magic::ParseResult r = magic::ParseLibrary(text.str().c_str());
    if (!r.library) {
        if (r.line > 0)
            std::fprintf(stderr, "%s:%d: %s\n", argv[1], r.line, r.error.c_str());
        else
            std::fprintf(stderr, "%s: %s\n", argv[1], r.error.c_str());
        return 1;
    }
    const magic::Library& lib = *r.library;
    std::printf("%s: ok, %zu effect%s, %zu atlas%s\n", argv[1], lib.emitters.size(),
                lib.emitters.size() == 1 ? "" : "s", lib.atlases.size(), lib.atlases.size() == 1 ? "" : "es");
    for (size_t i = 0; i < lib.atlases.size(); ++i) {
        bool present = std::filesystem::exists(path.parent_path() / lib.atlases[i]);
        std::printf("atlas %zu: %s%s\n", i, lib.atlases[i].c_str(), present ? "" : "  (missing)");
    }
    PrintFolder(lib, 0, "");
    return 0;
}
