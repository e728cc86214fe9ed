#include "Game/Level/LevelFileCheck.h"

#include "Game/Data/NQParamSet.h"

#include <tinyxml2.h>

namespace
{
size_t CountChildren(const tinyxml2::XMLElement* parent)
{
    size_t count = 0;
    for (const tinyxml2::XMLElement* e = parent ? parent->FirstChildElement() : nullptr; e;
         e = e->NextSiblingElement())
        ++count;
    return count;
}

bool IsGoal(const tinyxml2::XMLElement* point)
{
    const NQParamSet params(point);
    const auto goal = params.GetFloats().find("goal");
    return goal != params.GetFloats().end() && goal->second == 1.0f;
}

std::wstring TooMany(const wchar_t* what, size_t count, size_t limit)
{
    return std::wstring(what) + L" " + std::to_wstring(count) + L" above the limit " + std::to_wstring(limit);
}
} // namespace

std::wstring CheckLevelFile(const std::string& text)
{
    tinyxml2::XMLDocument document;
    if (text.empty() || document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS)
        return L"not a readable level file";
    const tinyxml2::XMLElement* root = document.FirstChildElement("map");
    if (!root)
        return L"no map";

    // Counted before anything is read further, so an absurd file costs one pass.
    const tinyxml2::XMLElement* points = root->FirstChildElement("points");
    const size_t pointCount = CountChildren(points);
    if (pointCount > kMaxLevelPoints)
        return TooMany(L"points", pointCount, kMaxLevelPoints);
    const size_t linkCount = CountChildren(root->FirstChildElement("links"));
    if (linkCount > kMaxLevelLinks)
        return TooMany(L"links", linkCount, kMaxLevelLinks);

    // The waves are the first "wave" and every sibling after it; empty ones are dropped.
    size_t waveCount = 0;
    size_t playedWaves = 0;
    const tinyxml2::XMLElement* waves = root->FirstChildElement("waves");
    for (const tinyxml2::XMLElement* wave = waves ? waves->FirstChildElement("wave") : nullptr; wave;
         wave = wave->NextSiblingElement())
    {
        if (++waveCount > kMaxLevelWaves)
            return TooMany(L"waves", waveCount, kMaxLevelWaves);
        const size_t units = CountChildren(wave);
        if (units > kMaxWaveUnits)
            return TooMany(L"units in a wave", units, kMaxWaveUnits);
        if (units > 0)
            ++playedWaves;
    }

    bool goal = false;
    for (const tinyxml2::XMLElement* e = points ? points->FirstChildElement() : nullptr; e && !goal;
         e = e->NextSiblingElement())
        goal = IsGoal(e);
    if (!goal)
        return L"no goal point";
    if (linkCount == 0)
        return L"no road";
    if (playedWaves == 0)
        return L"no wave";
    return std::wstring();
}
