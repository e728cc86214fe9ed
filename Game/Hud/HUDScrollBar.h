#pragma once

// The vertical slider of a scrolled list; the owner reads and writes the
// position and shows or hides the root layer.
namespace file
{
class ImageContainer;
}
namespace layer
{
class ImageLayer;
class Layer;
}
namespace render
{
class Graphics;
}

class HUDScrollBar
{
public:
    static constexpr const wchar_t* kBarPicture = L"scroll/bar";
    static constexpr const wchar_t* kSliderPicture = L"scroll/slider_in";
    static constexpr int kReleased = -1;
    static constexpr int kHeld = 0;
    // The pointer's track in logical units; the slider hangs this far above it.
    static constexpr float kTrackTop = 292.0f;
    static constexpr float kTrackBottom = 526.0f;
    static constexpr float kTrackLength = kTrackBottom - kTrackTop;
    static constexpr float kSliderLift = 30.0f;
    static constexpr float kSliderTop = kTrackTop - kSliderLift;

    explicit HUDScrollBar(file::ImageContainer* layout);
    HUDScrollBar(const HUDScrollBar&) = delete;
    HUDScrollBar& operator=(const HUDScrollBar&) = delete;
    ~HUDScrollBar();

    // Grabs on a press strictly inside the slider, shown or not.
    void OnMouseDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseUp(int x, int y);
    void Draw(render::Graphics* graphics);
    // Slider at the top, position 0.
    void Reset();
    // The slider follows the position.
    void SyncSlider();

    int mGrab = kReleased;
    layer::Layer* mRoot = nullptr;
    layer::ImageLayer* mSlider = nullptr;
    layer::ImageLayer* mBar = nullptr;
    float mPosition = 0.0f;

private:
    // The slider picture's size from the layout.
    float mSliderWidth = 0.0f;
    float mSliderHeight = 0.0f;
};
