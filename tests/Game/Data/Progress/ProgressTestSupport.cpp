#include "ProgressTestSupport.h"

#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"

#include <tinyxml2.h>

namespace progresstest
{
NQProgress& ProgressTest::Progress()
{
    if (!progress)
        progress = std::make_unique<NQProgress>();
    return *progress;
}

const tinyxml2::XMLElement* ProgressTest::ProfileOnDisk(const tinyxml2::XMLDocument& doc, const std::string& name)
{
    const tinyxml2::XMLElement* root = doc.FirstChildElement("Profiles");
    for (const tinyxml2::XMLElement* e = root ? root->FirstChildElement("Profile") : nullptr; e;
         e = e->NextSiblingElement("Profile"))
    {
        const char* n = e->Attribute("name");
        if (n && name == n)
            return e;
    }
    return nullptr;
}

std::string ProgressTest::ChildNames(const tinyxml2::XMLElement* profile)
{
    std::string names;
    for (const tinyxml2::XMLElement* e = profile->FirstChildElement(); e; e = e->NextSiblingElement())
        names += (names.empty() ? "" : " ") + std::string(e->Name());
    return names;
}

int ProgressTest::LevelCount(const tinyxml2::XMLElement* profile, int episode, int mode)
{
    const tinyxml2::XMLElement* levels = profile->FirstChildElement("levels");
    int count = 0;
    for (const tinyxml2::XMLElement* e = levels ? levels->FirstChildElement("level") : nullptr; e;
         e = e->NextSiblingElement("level"))
        count += e->IntAttribute("episode", -99) == episode && e->IntAttribute("mode", -99) == mode ? 1 : 0;
    return count;
}

std::string PlaceholderName() { return base::WideToUtf8(file::Profiles::kDefaultProfileName); }
} // namespace progresstest
