#pragma once
// One playing instance of an effect. Motion is analytic from the birth
// moment and births happen at their exact moments, so the particles do not
// depend on how time is split into updates.

#include "Platform/Magic/Model.h"
#include "Platform/Magic/Random.h"

#include <cstdint>
#include <functional>
#include <queue>
#include <vector>

namespace magic {

struct Particle {
    double ox, oy;      // origin: the birth point, moved with the emitter in position mode != 0
    double vx, vy;      // launch velocity, pixels per second
    double born, life;  // emitter time of birth and lifetime, ms
    double death;       // born + life: dead from this moment on
    double size0, size1, rot0;
};

struct QuadCorner {
    float x, y, u, v;
};

struct Quad {
    QuadCorner corner[4];  // top-left, top-right, bottom-right, bottom-left before rotation
    uint32_t color;        // ARGB
};

// A run of particles of one type drawn as one list.
struct ListCursor {
    int type = 0;
    int first = 0;
    int count = 0;
};

class Emitter {
public:
    // Lists stay small enough for the program's 16-bit index cache late in a frame.
    static constexpr int kMaxListParticles = 170;
    static constexpr double kMaxUpdate = 10000.0;

    Emitter(const EmitterDef& def, uint32_t ordinal);
    // A new instance with this one's settings, not running and empty.
    Emitter Duplicate(uint32_t ordinal) const;

    const EmitterDef& Def() const { return *def_; }

    int loopMode = 0;
    bool interpolation = true;
    int positionMode = 0;
    double direction = 0;  // degrees
    bool interrupt = false;

    bool Running() const { return running_; }
    double X() const { return x_; }
    double Y() const { return y_; }
    double Time() const { return time_; }
    // Bumped whenever the particle set changes under a walk of its lists.
    uint64_t Generation() const { return generation_; }

    void SetPosition(double x, double y);
    void ToInterval1();
    // Advances by ms; false (and no longer running) once the effect has ended.
    bool Update(double ms);
    void Stop();

    int LiveCount() const;
    int LiveCount(int type) const { return static_cast<int>(particles_[type].size()); }
    const std::vector<Particle>& Particles(int type) const { return particles_[type]; }
    Quad MakeQuad(int type, int index) const;

    // Fills the first rendered list; false when there is none.
    bool FirstList(ListCursor& c) const;
    // Moves past the given list; false when no list follows.
    bool NextList(ListCursor& c) const;

private:
    bool Emitting() const { return running_ && !interrupt && !ended_; }
    void Advance(double ms);
    void EmitRate(double step);
    void Burst();
    bool Full(int type, double when);
    void Birth(int type, double when);
    void Purge(double when);
    bool FindList(ListCursor& c) const;

    const EmitterDef* def_;
    uint32_t ordinal_;
    double x_ = 0, y_ = 0;
    bool running_ = false;
    bool ended_ = false;      // once mode went past interval2 in this run
    double cycle_ = 0;        // cycle time, ms
    double time_ = 0;         // time since the run started, ms
    double emitted_ = 0;      // emission time in this run, ms
    uint64_t generation_ = 0;
    std::vector<Random> random_;  // one per type, so types do not disturb each other
    std::vector<std::vector<Particle>> particles_;  // per type, oldest first
    // Per type, the deaths not yet counted, soonest first, and how many of the
    // particles have died since the last purge: the limit on live particles is
    // checked at each birth without walking the list.
    using DeathQueue = std::priority_queue<double, std::vector<double>, std::greater<double>>;
    std::vector<DeathQueue> deaths_;
    std::vector<int> dead_;
};

}  // namespace magic
