#pragma once

// A row of tabs of which one is selected; the owning screen forwards its
// events, asks HitTest and draws the strip in its own draw.
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace layer
{
class Layer;
}
namespace render
{
class Graphics;
}

class HUDTab;

class HUDTabStrip
{
public:
    static constexpr float kFirstTabX = 216.0f;
    static constexpr float kTabAdvance = 290.0f;

    // One tab per name, enabled by the flag of the same index (a missing flag disables it).
    HUDTabStrip(file::ImageContainer* layout, const std::vector<std::wstring>& names,
                const std::vector<bool>& enabled);
    HUDTabStrip(const HUDTabStrip&) = delete;
    HUDTabStrip& operator=(const HUDTabStrip&) = delete;
    ~HUDTabStrip();

    // Selects and answers the first enabled tab under the point (the selected
    // one included); -1 when none.
    int HitTest(int x, int y);
    // Nothing for an index out of range; the selected tab is drawn last.
    void Select(unsigned index);
    void OnMouseMove(int x, int y);
    void Update(float dt);
    void Draw(render::Graphics* graphics);

    std::vector<HUDTab*> mTabs;
    layer::Layer* mRoot = nullptr;
};
