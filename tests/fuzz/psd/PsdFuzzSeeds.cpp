// Writes the fuzz target's seed corpus: each seed is a load tag byte and a document.

#include <cstdio>
#include <filesystem>
#include <string>

#include "PsdWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: psd_fuzz_seeds <folder>\n");
        return 1;
    }
    std::filesystem::create_directories(argv[1]);
    int index = 0;
    for (const psdtest::Bytes& doc : psdtest::SeedDocuments()) {
        for (uint8_t tag : {0, 2, 3, 4}) {
            if (tag != 0 && index > 0) continue;  // the other tags only on the full document
            std::string path = std::string(argv[1]) + "/seed_" + std::to_string(index) + "_" +
                               std::to_string(tag) + ".bin";
            FILE* f = std::fopen(path.c_str(), "wb");
            if (!f) return 1;
            std::fputc(tag, f);
            std::fwrite(doc.data(), 1, doc.size(), f);
            std::fclose(f);
        }
        ++index;
    }
    return 0;
}
