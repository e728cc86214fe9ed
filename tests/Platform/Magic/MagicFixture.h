#pragma once
// Opens particle libraries for a test and forgets them afterwards.

#include "Platform/Magic/Magic.h"
#include "Platform/Magic/Registry.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class MagicTest : public ::testing::Test {
public:
    ~MagicTest() override {
        for (int f : files_)
            magic::Registry::Get().Close(f);
    }

    int Open(const std::string& text) {
        int f = Magic_OpenFileInMemory(text.c_str());
        if (f > 0)
            files_.push_back(f);
        return f;
    }

    // A library of one emitter named "e" at the root.
    int OpenEmitter(const std::string& emitterAttrs, const std::string& types) {
        return Open("<particles version=\"1\"><atlas file=\"a.png\"/><atlas file=\"b.png\"/>"
                    "<emitter name=\"e\" " + emitterAttrs + ">" + types + "</emitter></particles>");
    }

    // A started instance of "e".
    int Start(const std::string& emitterAttrs, const std::string& types, int loop = 0) {
        int f = OpenEmitter(emitterAttrs, types);
        EXPECT_GT(f, 0);
        int e = Magic_LoadEmitter(f, "e");
        EXPECT_GT(e, 0);
        Magic_SetLoopMode(e, loop);
        Magic_EmitterToInterval1(e, 1.0f, nullptr);
        return e;
    }

    static std::string ReadSample() { return hvtest::TempDir::ReadFile(HV_SAMPLE_PTC); }

    struct List {
        int count, texture, intense;
        std::vector<MagicVertexRecord> quads;
    };

    // Every rendered list with its quads, up to and without the count-0 list.
    static std::vector<List> Walk(int e) {
        std::vector<List> lists;
        MagicListRecord rec{};
        Magic_CreateFirstRenderedParticlesList(e, &rec);
        while (rec.count > 0) {
            List l{rec.count, rec.texture, rec.intense, {}};
            MagicVertexRecord v;
            while (Magic_GetNextParticleVertexes(&v))
                l.quads.push_back(v);
            lists.push_back(l);
            Magic_CreateNextRenderedParticlesList(&rec);
        }
        return lists;
    }

    static std::vector<MagicVertexRecord> Quads(int e) {
        std::vector<MagicVertexRecord> all;
        for (auto& l : Walk(e))
            all.insert(all.end(), l.quads.begin(), l.quads.end());
        return all;
    }

    static int Count(int e) { return static_cast<int>(Quads(e).size()); }

    // Centre of a quad.
    static std::pair<float, float> Centre(const MagicVertexRecord& q) {
        return {(q.corner[0].x + q.corner[2].x) / 2, (q.corner[0].y + q.corner[2].y) / 2};
    }

private:
    std::vector<int> files_;
};
