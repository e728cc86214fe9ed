#pragma once

// An image button of the skinned dialogs: the active picture fades in while
// the pointer is over it, and the control squeezes while it is held down.
#include "Framework/Gui/GameControl.h"
#include "Framework/Widget/Button.h"
#include "Framework/Widget/ButtonMediator.h"

#include <string>

namespace file
{
class ImageContainer;
}

class VessikButton : public gui::GameControl, public widget::Button, public widget::ButtonMediator
{
public:
    enum Picture
    {
        kNormalPicture = 0,
        kActivePicture = 1,
        kPictureCount = 2,
    };
    static constexpr float kHighlightRate = 3.0f;
    static constexpr float kPressRate = 5.0f;
    // Above this highlight the normal picture fades out.
    static constexpr float kNormalFadeStart = 0.9f;
    static constexpr float kSqueeze = 0.05f;

    VessikButton();
    ~VessikButton() override;

    // The button is its own mediator; the pictures are layers of the container.
    HVResultEnum Load(file::ImageContainer* container, const std::wstring& normal, const std::wstring& active,
                      const std::wstring& shadow);

    widget::ClassId& GetClassId() override;
    HVResultEnum Update(float dt) override;
    HVResultEnum OnStateChanged(int state) override;

    // The normal picture's opacity for a highlight.
    static float NormalOpacity(float highlight);
    // The first load steps of the button kinds: the control is its own
    // mediator, its layer is the widget's, its pictures come from the container.
    template <class Control>
    static HVResultEnum Bind(Control* control, file::ImageContainer* container)
    {
        control->Attach(control, false);
        control->widget::Button::SetLayer(static_cast<gui::GameControl*>(control), false, true);
        return control->InitWithContainer(container, control, static_cast<widget::WidgetHitTestListener*>(control),
                                          static_cast<gui::GameControl*>(control), false);
    }
    // State 0 lets the normal picture take hits, states 1 and 2 the active one.
    static void SwitchHitPictures(layer::ImageLayer* normal, layer::ImageLayer* active, int state);
    // Writes the scale (s, s, 0) when it differs from the control's.
    static void ApplyScale(gui::GameControl& control, float s);

    layer::ImageLayer* mPictures[kPictureCount] = {nullptr, nullptr};
    float mHighlight = 0.0f;
    float mPress = 0.0f;
};
