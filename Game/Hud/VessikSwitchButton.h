#pragma once

// One of a pair of switches used as a radio choice: the selected one shows
// its own picture and no longer reacts to the pointer.
#include "Framework/Gui/GameControl.h"
#include "Framework/Widget/Button.h"
#include "Framework/Widget/ButtonMediator.h"

#include <cstdint>
#include <string>

namespace file
{
class ImageContainer;
}

class VessikSwitchButton : public gui::GameControl, public widget::Button, public widget::ButtonMediator
{
public:
    enum Picture
    {
        kSelectedPicture = 0,
        kNormalPicture = 1,
        kActivePicture = 2,
        kPictureCount = 3,
    };
    static constexpr float kHighlightRate = 3.0f;
    static constexpr float kSelectionRate = 5.0f;
    // Below this selection the selected picture fades in ten times as fast.
    static constexpr float kSelectedFadeEnd = 0.1f;
    static constexpr float kGrow = 0.1f;

    VessikSwitchButton();
    ~VessikSwitchButton() override;

    HVResultEnum Load(file::ImageContainer* container, const std::wstring& normal, const std::wstring& active,
                      const std::wstring& selected, const std::wstring& shadow);
    void SetSelected(bool selected);
    bool IsSelected() const { return mSelected != 0; }

    widget::ClassId& GetClassId() override;
    HVResultEnum Update(float dt) override;
    HVResultEnum OnStateChanged(int state) override;

    layer::ImageLayer* mPictures[kPictureCount] = {nullptr, nullptr, nullptr};
    uint8_t mSelected = 0;
    float mHighlight = 0.0f;
    float mSelection = 0.0f;
};
