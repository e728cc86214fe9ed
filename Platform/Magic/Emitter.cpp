#include "Platform/Magic/Emitter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace magic {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

uint32_t Lerp(uint32_t c0, uint32_t c1, double t) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double a = (c0 >> shift) & 0xFF, b = (c1 >> shift) & 0xFF;
        double v = std::clamp(std::round(a + (b - a) * t), 0.0, 255.0);
        out |= static_cast<uint32_t>(v) << shift;
    }
    return out;
}

}  // namespace

Emitter::Emitter(const EmitterDef& def, uint32_t ordinal)
    : def_(&def),
      ordinal_(ordinal),
      random_(def.types.size()),
      particles_(def.types.size()),
      deaths_(def.types.size()),
      dead_(def.types.size()) {}

Emitter Emitter::Duplicate(uint32_t ordinal) const {
    Emitter e(*def_, ordinal);
    e.loopMode = loopMode;
    e.interpolation = interpolation;
    e.positionMode = positionMode;
    e.direction = direction;
    e.x_ = x_;
    e.y_ = y_;
    return e;
}

void Emitter::SetPosition(double x, double y) {
    double dx = x - x_, dy = y - y_;
    x_ = x;
    y_ = y;
    if (positionMode == 0)
        return;  // particles stay where they were born
    for (auto& list : particles_)
        for (auto& p : list) {
            p.ox += dx;
            p.oy += dy;
        }
}

void Emitter::Stop() {
    for (auto& list : particles_)
        list.clear();
    for (auto& q : deaths_)
        q = DeathQueue();
    std::fill(dead_.begin(), dead_.end(), 0);
    running_ = false;
    ended_ = false;
    cycle_ = time_ = emitted_ = 0;
    ++generation_;
}

void Emitter::ToInterval1() {
    Stop();
    for (size_t i = 0; i < random_.size(); ++i)
        random_[i].Seed(def_->seed, ordinal_, static_cast<uint32_t>(i));
    running_ = true;
    // Pre-simulate up to the start of the visible interval.
    double lead = def_->interval1;
    if (Emitting())
        EmitRate(lead);
    time_ = cycle_ = lead;
    if (Emitting())
        Burst();
    Purge(time_);
}

bool Emitter::Update(double ms) {
    if (!running_)
        return false;
    if (!(ms >= 0))  // NaN too
        ms = 0;
    ms = std::min(ms, kMaxUpdate);
    ++generation_;
    Advance(ms);
    if ((interrupt || ended_) && LiveCount() == 0) {
        running_ = false;
        return false;
    }
    return true;
}

void Emitter::Advance(double ms) {
    double remaining = ms;
    for (;;) {
        double step = remaining;
        bool boundary = false;
        if (!ended_ && def_->interval2 - cycle_ <= remaining) {
            step = std::max(0.0, def_->interval2 - cycle_);
            boundary = true;
        }
        if (Emitting())
            EmitRate(step);
        time_ += step;
        cycle_ += step;
        remaining -= step;
        if (!boundary)
            break;
        if (loopMode != 0) {
            // Each cycle is at least 1 ms long, so this loop ends.
            cycle_ = def_->interval1;
            if (Emitting())
                Burst();
        } else {
            ended_ = true;
        }
        if (remaining <= 0)
            break;
    }
    Purge(time_);
}

// Rate births are spaced evenly over emission time: birth k of a type comes
// when the run has emitted for k * 1000 / rate ms.
void Emitter::EmitRate(double step) {
    double from = emitted_, to = emitted_ + step;
    for (int t = 0; t < static_cast<int>(def_->types.size()); ++t) {
        double rate = def_->types[t].rate;
        if (rate <= 0)
            continue;
        double k0 = std::floor(rate * from / 1000.0), k1 = std::floor(rate * to / 1000.0);
        for (double k = k0 + 1; k <= k1; ++k)
            Birth(t, time_ + (k * 1000.0 / rate - from));
    }
    emitted_ = to;
}

void Emitter::Burst() {
    for (int t = 0; t < static_cast<int>(def_->types.size()); ++t)
        for (int i = 0; i < def_->types[t].burst && !Full(t, time_); ++i)
            Birth(t, time_);  // once full, the rest of the burst is dropped too
}

bool Emitter::Full(int type, double when) {
    DeathQueue& q = deaths_[type];
    while (!q.empty() && q.top() <= when) {
        q.pop();
        ++dead_[type];
    }
    return static_cast<int>(particles_[type].size()) - dead_[type] >= def_->types[type].max;
}

void Emitter::Birth(int type, double when) {
    const ParticleType& pt = def_->types[type];
    if (Full(type, when))
        return;  // dropped births draw no numbers
    Random& r = random_[type];
    // Always the same draws in the same order, whatever the shape.
    double su = r.Unit(), sv = r.Unit(), lv = r.Signed(), sp = r.Signed(), an = r.Unit(), sz = r.Signed(),
           ro = r.Signed();

    double ox = 0, oy = 0;
    switch (def_->shape) {
    case Shape::Point: break;
    case Shape::Rect:
        ox = (su - 0.5) * def_->shapeW;
        oy = (sv - 0.5) * def_->shapeH;
        break;
    case Shape::Circle: {
        double radius = def_->shapeW * std::sqrt(su), a = 2 * std::numbers::pi * sv;
        ox = radius * std::cos(a);
        oy = radius * std::sin(a);
        break;
    }
    case Shape::Line: oy = su * def_->shapeW; break;
    }
    double c = std::cos(direction * kRadians), s = std::sin(direction * kRadians);

    Particle p;
    p.ox = x_ + ox * c - oy * s;
    p.oy = y_ + ox * s + oy * c;
    double speed = pt.speed + pt.speedVar * sp;
    double angle = (pt.angle + direction + pt.spread * (an - 0.5)) * kRadians;
    p.vx = speed * std::cos(angle);
    p.vy = speed * std::sin(angle);
    p.born = when;
    p.life = std::max(1.0, pt.life + pt.lifeVar * lv);
    p.death = when + p.life;
    double f = 1 + pt.sizeVar * sz;
    p.size0 = pt.size0 * f;
    p.size1 = pt.size1 * f;
    p.rot0 = pt.rot + pt.rotVar * ro;
    particles_[type].push_back(p);
    deaths_[type].push(p.death);
}

void Emitter::Purge(double when) {
    for (size_t t = 0; t < particles_.size(); ++t) {
        Full(static_cast<int>(t), when);  // counts every death up to now
        auto& list = particles_[t];
        list.erase(std::remove_if(list.begin(), list.end(), [when](const Particle& p) { return when >= p.death; }),
                   list.end());
        dead_[t] = 0;
    }
}

int Emitter::LiveCount() const {
    int n = 0;
    for (const auto& list : particles_)
        n += static_cast<int>(list.size());
    return n;
}

Quad Emitter::MakeQuad(int type, int index) const {
    const ParticleType& pt = def_->types[type];
    const Particle& p = particles_[type][index];
    double ageMs = time_ - p.born;
    double a = ageMs / 1000.0, t = std::clamp(ageMs / p.life, 0.0, 1.0);
    double x = p.ox + p.vx * a + 0.5 * pt.gravityX * a * a;
    double y = p.oy + p.vy * a + 0.5 * pt.gravityY * a * a;
    double half = (p.size0 + (p.size1 - p.size0) * t) / 2;
    double rot = (p.rot0 + pt.spin * a) * kRadians;
    double c = std::cos(rot), s = std::sin(rot);

    static constexpr double kX[4] = {-1, 1, 1, -1}, kY[4] = {-1, -1, 1, 1};
    const float us[4] = {pt.u0, pt.u1, pt.u1, pt.u0}, vs[4] = {pt.v0, pt.v0, pt.v1, pt.v1};
    Quad q;
    for (int k = 0; k < 4; ++k) {
        double cx = kX[k] * half, cy = kY[k] * half;
        q.corner[k] = {static_cast<float>(x + cx * c - cy * s), static_cast<float>(y + cx * s + cy * c), us[k],
                       vs[k]};
    }
    q.color = Lerp(pt.color0, pt.color1, t);
    return q;
}

bool Emitter::FindList(ListCursor& c) const {
    int types = static_cast<int>(particles_.size());
    if (c.type < 0 || c.first < 0) {
        c = ListCursor{types, 0, 0};
        return false;
    }
    while (c.type < types && c.first >= LiveCount(c.type)) {
        ++c.type;
        c.first = 0;
    }
    if (c.type >= types) {
        c.count = 0;
        return false;
    }
    c.count = std::min(kMaxListParticles, LiveCount(c.type) - c.first);
    return true;
}

bool Emitter::FirstList(ListCursor& c) const {
    c = ListCursor{};
    return FindList(c);
}

bool Emitter::NextList(ListCursor& c) const {
    // The cursor may come from a caller's record: never trust it to be sane.
    if (c.type < 0 || c.type >= static_cast<int>(particles_.size()) || c.first < 0 || c.count < 0) {
        c = ListCursor{static_cast<int>(particles_.size()), 0, 0};
        return false;
    }
    c.first = static_cast<int>(std::min<long long>(static_cast<long long>(c.first) + c.count, LiveCount(c.type)));
    return FindList(c);
}

}  // namespace magic
