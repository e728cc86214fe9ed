#include "Game/Data/NQSpriteSet.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/ReleasePicture.h"

#include <tinyxml2.h>

const char* const NQSpriteSet::kGroupNames[kGroupCount] = {
    "rotate", "f_00", "f_01", "f_02",  "f_03",    "f_04", "f_05",       "f_06", "f_07",  "f_08",
    "f_09",   "f_10", "f_11", "f_12",  "f_13",    "f_14", "f_15",       "blast", "idle", "shot",
    "pivot",  "fire", "s_point", "",   "base_point", "walk", "death", "special"};

namespace
{
const wchar_t* const kDataPrefix = L"nq/";

std::wstring Utf8Attribute(const tinyxml2::XMLElement* element, const char* name)
{
    const char* text = element ? element->Attribute(name) : nullptr;
    return text ? base::Utf8ToWide(text) : std::wstring();
}

// The layers of one frame group, below the set's folder ("" or "group/").
std::vector<std::wstring> GroupLayers(file::ImageContainer& container, const std::wstring& folder, const char* group)
{
    std::vector<std::wstring> names;
    container.ListLayers(folder + base::Utf8ToWide(group), false, names, false);
    return names;
}

void DeleteFrames(NQSpriteSet::FrameList& frames)
{
    // The set owns the pictures of its frames; the frames only carry them.
    for (NQFrameEntry* frame : frames)
    {
        ReleasePicture(frame->mPicture);
        delete frame;
    }
    frames.clear();
}
} // namespace

NQSpriteSet::NQSpriteSet(const tinyxml2::XMLElement* element)
{
    if (element)
        element->QueryIntAttribute("id", &mId);
    const std::wstring psd = Utf8Attribute(element, "psd");
    mPicturePath = kDataPrefix + Utf8Attribute(element, "img");
    mPath = kDataPrefix + psd;
    if (!psd.empty())
    {
        mHasLayeredImage = 1;
        LoadFromFile(base::WideToUtf8(mPath));
    }
    if (mPicturePath != kDataPrefix)
        mPicture = LoadGamePicture(mPicturePath, nullptr);
}

NQSpriteSet::NQSpriteSet(const std::wstring& path) : mPath(path), mHasLayeredImage(1)
{
    LoadFromFile(base::WideToUtf8(path));
}

NQSpriteSet::NQSpriteSet(file::ImageContainer* container, const std::wstring& group)
    : mPath(kDataPrefix + group), mPicturePath(kDataPrefix + group)
{
    LoadFrames(container, group);
    // The caller keeps the container.
    mContainer = nullptr;
}

NQSpriteSet::~NQSpriteSet()
{
    for (auto& group : mFrames)
        DeleteFrames(group.second);
    mFrames.clear();
    ReleasePicture(mPicture);
    delete mContainer;
    mContainer = nullptr;
}

void NQSpriteSet::LoadFromFile(const std::string& path)
{
    file::ImageContainer* container = file::FileManager::Instance()->OpenImageContainer(base::Utf8ToWide(path));
    // Every group gets its entry even when the image does not open.
    LoadFrames(container, std::wstring());
    mContainer = container;
}

void NQSpriteSet::LoadFrames(file::ImageContainer* container, const std::wstring& prefix)
{
    if (mContainer != container)
        delete mContainer;
    mContainer = container;
    const std::wstring folder = prefix.empty() ? std::wstring() : prefix + L"/";
    for (const char* group : kGroupNames)
    {
        FrameList& frames = mFrames[group];
        DeleteFrames(frames);
        if (!container)
            continue;
        for (const std::wstring& name : GroupLayers(*container, folder, group))
        {
            auto* frame = new NQFrameEntry;
            frame->mPicture = LoadGamePicture(name, container);
            frame->mName = name;
            if (const base::ImageInfo* info = container->FindLayer(name))
            {
                frame->mRect[0] = info->x;
                frame->mRect[1] = info->y;
                frame->mRect[2] = info->w;
                frame->mRect[3] = info->h;
                frame->mLayerIndex = info->index;
            }
            frames.push_back(frame);
        }
    }
}

std::vector<std::wstring> NQSpriteSet::FrameLayers(file::ImageContainer& container, const std::wstring& prefix)
{
    const std::wstring folder = prefix.empty() ? std::wstring() : prefix + L"/";
    std::vector<std::wstring> all;
    for (const char* group : kGroupNames)
    {
        const std::vector<std::wstring> names = GroupLayers(container, folder, group);
        all.insert(all.end(), names.begin(), names.end());
    }
    return all;
}

NQFrameEntry* NQSpriteSet::FindFrame(const std::wstring& group, const std::wstring& name)
{
    const auto found = mFrames.find(base::WideToUtf8(group));
    if (found == mFrames.end())
        return nullptr;
    for (NQFrameEntry* frame : found->second)
    {
        if (frame->mName == name)
            return frame;
    }
    return nullptr;
}

const NQSpriteSet::FrameList& NQSpriteSet::GetFrames(const std::string& group) const
{
    static const FrameList kNone;
    const auto found = mFrames.find(group);
    return found == mFrames.end() ? kNone : found->second;
}
