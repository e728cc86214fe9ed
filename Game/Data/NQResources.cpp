#include "Game/Data/NQResources.h"

#include "Core/Base/LookupMiss.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Resource/ResourceManager.h"
#include "Game/Data/NQSpriteSet.h"

#include <tinyxml2.h>

#include <memory>

namespace
{
const wchar_t* const kDataPrefix = L"nq/";

std::wstring Utf8Attribute(const tinyxml2::XMLElement* element, const char* name)
{
    const char* text = element->Attribute(name);
    return text ? base::Utf8ToWide(text) : std::wstring();
}
} // namespace

NQResources::~NQResources() { DeleteSpriteSets(); }

std::vector<base::SingletoneBase*> NQResources::GetDependencies() { return {resource::ResourceManager::Instance()}; }

NQSpriteSet* NQResources::GetSpriteSet(const std::wstring& path)
{
    if (NQSpriteSet* found = FindSpriteSet(path))
        return found;
    auto* set = new NQSpriteSet(path);
    mSets.push_back(set);
    return set;
}

NQSpriteSet* NQResources::GetSpriteSetFor(const tinyxml2::XMLElement* element)
{
    if (!element)
        return nullptr;
    const std::wstring psd = Utf8Attribute(element, "psd");
    const std::wstring img = Utf8Attribute(element, "img");
    if (psd.empty() && img.empty())
        return nullptr;
    const std::wstring psdPath = kDataPrefix + psd;
    const std::wstring picturePath = kDataPrefix + img;
    // An absent attribute leaves its path at the bare prefix, which every
    // other row without it shares: only named paths may match.
    for (NQSpriteSet* set : mSets)
    {
        if ((!psd.empty() && set->mPath == psdPath) || (!img.empty() && set->mPicturePath == picturePath))
            return set;
    }
    auto* set = new NQSpriteSet(element);
    mSets.push_back(set);
    return set;
}

void NQResources::PreloadSpriteSets(const std::wstring& path)
{
    std::unique_ptr<file::ImageContainer> container(file::FileManager::Instance()->OpenImageContainer(path));
    if (!container)
        return;
    std::vector<std::wstring> groups;
    container->ListGroups(std::wstring(), groups, false);
    for (const std::wstring& group : groups)
        mSets.push_back(new NQSpriteSet(container.get(), group));
}

NQSpriteSet* NQResources::FindSpriteSet(const std::wstring& path)
{
    for (NQSpriteSet* set : mSets)
    {
        if (set->mPath == path)
            return set;
    }
    return nullptr;
}

NQFrameEntry* NQResources::FindFrame(const std::wstring& setPath, const std::wstring& group, const std::wstring& name)
{
    NQSpriteSet* set = FindSpriteSet(setPath);
    NQFrameEntry* frame = set ? set->FindFrame(group, name) : nullptr;
    if (!frame)
        base::ReportLookupMiss(base::LookupMissKind::Frame, setPath + L":" + group + L":" + name);
    return frame;
}

void NQResources::DeleteSpriteSets()
{
    for (NQSpriteSet* set : mSets)
        delete set;
    mSets.clear();
}
