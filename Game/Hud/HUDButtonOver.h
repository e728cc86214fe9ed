#pragma once

#include "Game/Hud/HUDButton.h"

namespace file
{
class ImageContainer;
}

class NQFrameEntry;

namespace render
{
class Font;
}

// A button of one sub-folder F of a layout's "button" group: placed by
// "button/F/pos", labelled at "button/F/label", drawn with the pictures
// "button/P_normal" and "button/P_over" of its prefix P (F up to its first '_').
class HUDButtonOver : public HUDButton
{
public:
    static constexpr float kGrowPerSecond = 0.5f;
    static constexpr float kShrinkPerSecond = 1.0f;
    // A label keeps this much of its place free at either end, off the
    // button's rims; a wider one (a long player name) is drawn smaller.
    static constexpr float kLabelMargin = 12.0f;

    HUDButtonOver(file::ImageContainer* layout, const std::wstring& folder);
    ~HUDButtonOver() override;

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;
    // The current frame, edges included, moved by the x offset; nothing while invisible.
    bool Contains(int x, int y) override;
    void OnMouseDown(int x, int y) override;
    void OnMouseUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;

    // F split at '_': the picture prefix and the button's name ("" when F has no '_').
    static void SplitFolder(const std::wstring& folder, std::wstring& prefix, std::wstring& name);

    // The uniform scale that fits the label in its place in this font: 1
    // for a label that fits as it is.
    float LabelFit(render::Font* font) const;

    // The picture while not pressed, and while pressed. Owned.
    NQFrameEntry* mNormal = nullptr;
    NQFrameEntry* mOver = nullptr;
    uint8_t mHasLabel = 0;

private:
    const NQFrameEntry* CurrentFrame() const { return mPressed ? mOver : mNormal; }
};
