#include "Game/NQResources.h"

#include "Game/NQSpriteSet.h"

NQResources::~NQResources() { DeleteSpriteSets(); }
std::vector<base::SingletoneBase*> NQResources::GetDependencies() { return {}; }
NQSpriteSet* NQResources::GetSpriteSet(const std::wstring& path)
{
    auto* set = new NQSpriteSet(path);
    mSets.push_back(set);
    return set;
}
NQSpriteSet* NQResources::GetSpriteSetFor(const tinyxml2::XMLElement*) { return nullptr; }
void NQResources::PreloadSpriteSets(const std::wstring&) {}
NQSpriteSet* NQResources::FindSpriteSet(const std::wstring&) { return nullptr; }
NQFrameEntry* NQResources::FindFrame(const std::wstring&, const std::wstring&, const std::wstring&) { return nullptr; }
void NQResources::DeleteSpriteSets()
{
    for (NQSpriteSet* set : mSets)
        delete set;
    mSets.clear();
}
