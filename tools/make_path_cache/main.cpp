// make_path_cache LEVEL.xml OUT.cache: writes the lane-path table that the
// game builds when the level starts without a cache, in the cache's layout.
//
// The table is built as the level start builds it: for every spawn point in
// point order its shortest route to the (last) goal, over links weighted by
// the straight distance between their points, ties kept by the point reached
// first; then, for every wave of that spawn in file order and every entry of
// the wave, the entry's lane sampled on every link of the route that has no
// such lane yet. Entries are in the order their links were first sampled.
#include "Game/Data/LevelAttributes.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQLinkLanes.h"
#include "Game/Roads/PathWalk.h"
#include "PathCacheWriter.h"

#include <tinyxml2.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Samples per link, as the level start takes them.
constexpr int32_t kLaneSteps = 20;
// The distance of a point the search has not reached, and the bound above it.
constexpr float kUnreached = 10000000.0f;
constexpr float kPickBound = 10000001.0f;

struct Point
{
    int32_t id = 0;
    float x = 0.0f;
    float y = 0.0f;
    bool spawn = false;
    bool goal = false;
};

struct Wave
{
    int32_t spawn = 0;
    std::vector<float> entryYs;
};

struct Level
{
    std::vector<Point> points;
    std::vector<std::unique_ptr<NQLink>> links;
    std::vector<Wave> waves;
};

bool Fail(const std::string& message)
{
    std::fprintf(stderr, "make_path_cache: %s\n", message.c_str());
    return false;
}

// A point's parameter as the level's parameter set reads it: "1" marks it.
bool Marked(const tinyxml2::XMLElement* point, const char* name)
{
    for (const tinyxml2::XMLElement* p = point->FirstChildElement("param"); p; p = p->NextSiblingElement("param"))
    {
        const char* key = p->Attribute("name");
        if (key && std::string(key) == name)
            return ReadFloatAttribute(p, "value", 0.0f) == 1.0f;
    }
    return false;
}

bool ReadLevel(const char* path, Level& level)
{
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(path) != tinyxml2::XML_SUCCESS)
        return Fail(std::string(path) + ": " + doc.ErrorStr());
    const tinyxml2::XMLElement* root = doc.FirstChildElement("map");
    if (!root)
        return Fail(std::string(path) + ": no <map>");
    if (const tinyxml2::XMLElement* points = root->FirstChildElement("points"))
        for (const tinyxml2::XMLElement* e = points->FirstChildElement("point"); e; e = e->NextSiblingElement("point"))
            level.points.push_back({ReadIntAttribute(e, "id", 0), ReadFloatAttribute(e, "x", 0.0f),
                                    ReadFloatAttribute(e, "y", 0.0f), Marked(e, "spawn"), Marked(e, "goal")});
    if (const tinyxml2::XMLElement* links = root->FirstChildElement("links"))
        for (const tinyxml2::XMLElement* e = links->FirstChildElement("link"); e; e = e->NextSiblingElement("link"))
        {
            auto link = std::make_unique<NQLink>();
            link->mSid = ReadIntAttribute(e, "sid", 0);
            link->mEid = ReadIntAttribute(e, "eid", 0);
            link->mAnchorX = ReadFloatAttribute(e, "anchor_x", 0.0f);
            link->mAnchorY = ReadFloatAttribute(e, "anchor_y", 0.0f);
            level.links.push_back(std::move(link));
        }
    if (const tinyxml2::XMLElement* waves = root->FirstChildElement("waves"))
        for (const tinyxml2::XMLElement* e = waves->FirstChildElement("wave"); e; e = e->NextSiblingElement("wave"))
        {
            Wave wave;
            wave.spawn = ReadIntAttribute(e, "spawn", 0);
            for (const tinyxml2::XMLElement* u = e->FirstChildElement(); u; u = u->NextSiblingElement())
                wave.entryYs.push_back(ReadFloatAttribute(u, "y", 0.0f));
            level.waves.push_back(wave);
        }
    return true;
}

const Point* FindPoint(const Level& level, int32_t id)
{
    for (const Point& p : level.points)
        if (p.id == id)
            return &p;
    return nullptr;
}

NQLink* FindLink(const Level& level, int32_t a, int32_t b)
{
    for (const auto& link : level.links)
        if ((link->mSid == a && link->mEid == b) || (link->mSid == b && link->mEid == a))
            return link.get();
    return nullptr;
}

std::vector<int32_t> Neighbours(const Level& level, int32_t id)
{
    std::vector<int32_t> out;
    for (const auto& link : level.links)
    {
        int32_t other;
        if (link->mEid == id)
            other = link->mSid;
        else if (link->mSid == id)
            other = link->mEid;
        else
            continue;
        if (!FindPoint(level, other))
            continue;
        bool known = false;
        for (int32_t n : out)
            known = known || n == other;
        if (!known)
            out.push_back(other);
    }
    return out;
}

// The shortest route as point indices from start to goal; empty when the goal
// is out of reach.
std::vector<size_t> FindRoute(const Level& level, size_t start, size_t goal)
{
    const size_t n = level.points.size();
    std::vector<float> distance(n, kUnreached);
    std::vector<bool> visited(n, false);
    std::vector<size_t> previous(n, n);
    auto indexOf = [&level](int32_t id) {
        for (size_t i = 0; i < level.points.size(); ++i)
            if (level.points[i].id == id)
                return i;
        return level.points.size();
    };
    size_t current = indexOf(level.points[start].id);
    distance[current] = 0.0f;
    while (current < n)
    {
        visited[current] = true;
        const Point& a = level.points[current];
        for (int32_t id : Neighbours(level, a.id))
        {
            const size_t next = indexOf(id);
            if (next >= n || visited[next])
                continue;
            const Point& b = level.points[next];
            const float reached = distance[current] + PointDistance(a.x, a.y, b.x, b.y);
            if (distance[next] > reached)
            {
                previous[next] = current;
                distance[next] = reached;
            }
        }
        current = n;
        float best = kPickBound;
        for (size_t i = 0; i < n; ++i)
            if (!visited[i] && distance[i] < best)
            {
                best = distance[i];
                current = i;
            }
    }
    std::vector<size_t> route{indexOf(level.points[goal].id)};
    while (route.back() != indexOf(level.points[start].id))
    {
        if (previous[route.back()] >= n)
            return {};
        route.push_back(previous[route.back()]);
    }
    return {route.rbegin(), route.rend()};
}

void StoreLane(std::vector<NQLinkLanes*>& table, const Level& level, NQLink* link, int32_t offset)
{
    NQLinkLanes* entry = nullptr;
    for (NQLinkLanes* candidate : table)
        if (!entry && candidate->mLink == link)
            entry = candidate;
    if (entry && entry->mLanes.count(offset))
        return;
    const Point* start = FindPoint(level, link->mSid);
    const Point* end = FindPoint(level, link->mEid);
    if (!start || !end)
        return;
    std::vector<NQPathSample*> samples;
    SampleOffsetBezier({start->x, start->y}, {link->mAnchorX, link->mAnchorY}, {end->x, end->y}, float(offset),
                       kLaneSteps, samples);
    if (!entry)
    {
        entry = new NQLinkLanes(link);
        table.push_back(entry);
    }
    entry->SetLane(offset, samples);
}

bool BuildTable(const Level& level, std::vector<NQLinkLanes*>& table)
{
    size_t goal = level.points.size();
    for (size_t i = 0; i < level.points.size(); ++i)
        if (level.points[i].goal)
            goal = i;
    if (goal == level.points.size())
        return Fail("the level has no goal point");
    for (size_t s = 0; s < level.points.size(); ++s)
    {
        if (!level.points[s].spawn)
            continue;
        const std::vector<size_t> route = FindRoute(level, s, goal);
        if (route.empty())
            return Fail("spawn point " + std::to_string(level.points[s].id) + " does not reach the goal");
        std::vector<NQLink*> links;
        for (size_t i = 1; i < route.size(); ++i)
            if (NQLink* link = FindLink(level, level.points[route[i - 1]].id, level.points[route[i]].id))
                links.push_back(link);
        for (const Wave& wave : level.waves)
        {
            if (wave.spawn != level.points[s].id)
                continue;
            for (float y : wave.entryYs)
                for (NQLink* link : links)
                    StoreLane(table, level, link, GetLaneOffset(y));
        }
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: make_path_cache LEVEL.xml OUT.cache\n");
        return 2;
    }
    Level level;
    if (!ReadLevel(argv[1], level))
        return 1;
    std::vector<NQLinkLanes*> table;
    const bool built = BuildTable(level, table);
    std::vector<NQLink*> links;
    for (const auto& link : level.links)
        links.push_back(link.get());
    const std::string bytes = pathcache::WritePathCache(table, links);
    for (NQLinkLanes* entry : table)
        delete entry;
    if (!built)
        return 1;
    std::ofstream out(argv[2], std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out)
    {
        std::fprintf(stderr, "make_path_cache: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
