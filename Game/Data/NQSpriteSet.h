#pragma once

// The frames of one layered image sorted into the fixed list of named groups
// (animation states, direction frames, marker points).
#include <map>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace render
{
class Image;
}
namespace tinyxml2
{
class XMLElement;
}

class NQFrameEntry;

class NQSpriteSet
{
public:
    using FrameList = std::vector<NQFrameEntry*>;
    using FrameMap = std::map<std::string, FrameList>;

    static constexpr int kGroupCount = 28;
    // In loading order; "" is the root group.
    static const char* const kGroupNames[kGroupCount];

    // From a unit prototype element: "psd" gives the layered image, "img" a single picture.
    explicit NQSpriteSet(const tinyxml2::XMLElement* element);
    // From the layered image at path (no prefix added).
    explicit NQSpriteSet(const std::wstring& path);
    // From group G of an open layered image, which the caller keeps.
    NQSpriteSet(file::ImageContainer* container, const std::wstring& group);
    NQSpriteSet(const NQSpriteSet&) = delete;
    NQSpriteSet& operator=(const NQSpriteSet&) = delete;
    ~NQSpriteSet();

    // Opens the layered image (UTF-8 path) and keeps it.
    void LoadFromFile(const std::string& path);
    void LoadFrames(file::ImageContainer* container, const std::wstring& prefix);
    // The layers LoadFrames loads, in its order.
    static std::vector<std::wstring> FrameLayers(file::ImageContainer& container, const std::wstring& prefix);
    // The first frame of the group whose full layer name equals name; null when none.
    NQFrameEntry* FindFrame(const std::wstring& group, const std::wstring& name);
    // The frames of a group; empty for an unknown name.
    const FrameList& GetFrames(const std::string& group) const;

    std::wstring mPath;
    int mId = 0;
    render::Image* mPicture = nullptr;
    uint8_t mHasLayeredImage = 0;
    std::wstring mPicturePath;
    file::ImageContainer* mContainer = nullptr;
    FrameMap mFrames;
};
