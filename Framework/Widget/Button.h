#pragma once

#include "Core/Base/DelegateHandle.h"
#include "Framework/Widget/Widget.h"

namespace widget
{
class ButtonListener;
class ButtonMediator;

// A widget that takes the pointer capture when pressed and clicks when the
// press is released over it. Its visual state is kept by its mediator.
class Button : public Widget
{
public:
    enum State
    {
        kNormal = 0,
        kHover = 1,
        kPressed = 2,
    };
    using ClickDelegate = base::Delegate1<Button*, HVResultEnum>;

    Button();
    // Deletes the mediator when it owns it; a borrowed one forgets the button.
    ~Button() override;

    ClassId& GetClassId() override;
    // The click delegate first; its failure is returned and the listener is
    // not told.
    virtual HVResultEnum Click();

    ButtonMediator* mMediator = nullptr;
    uint8_t mOwnsMediator = 0;
    ButtonListener* mButtonListener = nullptr;
    // Of a ClickDelegate.
    base::DelegateHandle mClickDelegate;
    int mVisualState = kNormal;
};
} // namespace widget
