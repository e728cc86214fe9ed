#pragma once

// The process-wide cache of sprite sets, in creation order. Sets live until
// DeleteSpriteSets or the end of the process.
#include "Core/Base/Singletone.h"

#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class NQFrameEntry;
class NQSpriteSet;

class NQResources : public base::Singletone<NQResources>
{
public:
    NQResources() = default;
    ~NQResources() override;
    // The pictures of the sets go back to the resource manager.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // The set of exactly that path, else a new one from the layered image there. Never null.
    NQSpriteSet* GetSpriteSet(const std::wstring& path);
    // The first cached set that matches the element's "psd" or "img" path,
    // else a new one; null when the element names neither.
    NQSpriteSet* GetSpriteSetFor(const tinyxml2::XMLElement* element);
    // One set per top-level group of the layered image, appended.
    void PreloadSpriteSets(const std::wstring& path);
    // Lookups that never build.
    NQSpriteSet* FindSpriteSet(const std::wstring& path);
    NQFrameEntry* FindFrame(const std::wstring& setPath, const std::wstring& group, const std::wstring& name);
    void DeleteSpriteSets();

    const std::vector<NQSpriteSet*>& GetSpriteSets() const { return mSets; }

private:
    std::vector<NQSpriteSet*> mSets;
};
