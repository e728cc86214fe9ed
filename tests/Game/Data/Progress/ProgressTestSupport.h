#pragma once

// What the progress tests share: the fixture and readers of the profile XML.
#include "GameTestFixture.h"

#include "Game/Data/NQProgress.h"

#include <memory>
#include <string>

namespace tinyxml2
{
class XMLDocument;
class XMLElement;
}

namespace progresstest
{
class ProgressTest : public gametest::GameTest
{
protected:
    NQProgress& Progress();
    // The store's current profile element as the record sees it.
    tinyxml2::XMLElement* ProfileElement() { return Progress().GetProfileElement(); }
    // The profile of that name in the file on disk; null when missing.
    static const tinyxml2::XMLElement* ProfileOnDisk(const tinyxml2::XMLDocument& doc, const std::string& name);
    // Names of the profile's child elements, in order, joined by ' '.
    static std::string ChildNames(const tinyxml2::XMLElement* profile);
    // Number of "level" elements of that episode and mode.
    static int LevelCount(const tinyxml2::XMLElement* profile, int episode, int mode);

    std::unique_ptr<NQProgress> progress;
};

// The placeholder name the store gives its first profile.
std::string PlaceholderName();
} // namespace progresstest
