#pragma once

// One labelled tab of a tab strip: two pictures of the owner's layout and a
// label, hanging from its root layer's position (the tab's bottom centre).
#include <cstdint>
#include <string>

namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
class TextLayer;
}

class HUDTab
{
public:
    static constexpr const wchar_t* kActivePicture = L"tabs/up_button_ac";
    static constexpr const wchar_t* kInactivePicture = L"tabs/up_button_in";
    static constexpr float kRestScale = 1.0f;
    static constexpr float kSelectedScale = 1.1f;
    static constexpr float kGrowPerSecond = 0.5f;
    static constexpr float kShrinkPerSecond = 1.0f;

    HUDTab(file::ImageContainer* layout, const std::wstring& name);
    HUDTab(const HUDTab&) = delete;
    HUDTab& operator=(const HUDTab&) = delete;
    // Detaches every layer from its parent, then deletes it.
    ~HUDTab();

    void Select();
    void Deselect();
    // Strictly inside the active picture hanging from the root; the scale is ignored.
    bool HitTest(int x, int y) const;
    void OnMouseMove(int x, int y);
    void Update(float dt);

    uint8_t mEnabled = 0;
    uint8_t mHovered = 0;
    uint8_t mSelected = 0;
    float mScale = kRestScale;
    layer::TextLayer* mLabel = nullptr;
    layer::Layer* mRoot = nullptr;
    layer::Layer* mInner = nullptr;
    layer::ImageLayer* mActive = nullptr;
    layer::ImageLayer* mInactive = nullptr;

private:
    // The active picture's size from the layout; the pictures themselves may not load.
    int mWidth = 0;
    int mHeight = 0;
};
