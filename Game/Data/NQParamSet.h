#pragma once

// An open list of named numbers read from the child elements of one XML
// element (path points, build spots, upgrade steps). Each value is kept as a
// float and as that float written back in the general style.
#include <map>
#include <string>

namespace tinyxml2
{
class XMLElement;
}

class NQParamSet
{
public:
    // An empty set, for holders without an element.
    NQParamSet() = default;
    // Every child element is one parameter, whatever its tag; a null element
    // gives an empty set.
    explicit NQParamSet(const tinyxml2::XMLElement* element);

    // Stores the child's "name" / "value"; a later child of the same name
    // overwrites. A child without a name is skipped.
    void ReadParam(const tinyxml2::XMLElement* child);

    // A missing name is inserted, into this getter's map only, with 0 or ""
    // (the callers' default for every parameter).
    float GetFloat(std::string name);
    std::string GetString(std::string name);

    // Read-only views, by name.
    const std::map<std::string, float>& GetFloats() const { return mFloats; }
    const std::map<std::string, std::string>& GetTexts() const { return mTexts; }

private:
    std::map<std::string, float> mFloats;
    std::map<std::string, std::string> mTexts;
};
