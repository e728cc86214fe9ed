#pragma once

// The toolkit's modal message: a localised text and either one button that
// closes it or a second one that closes it and hands its action word to the
// running level.
#include "Framework/Widget/ButtonListener.h"
#include "Game/Hud/VessikDialog.h"

#include <string>

class VessikButton;

class TMessageBox : public VessikDialog, public widget::ButtonListener
{
public:
    static constexpr const wchar_t* kLayout = L"nq/data/mm";
    // The message that the framed window does not fit the desktop.
    static constexpr const wchar_t* kWindowTooLarge = L"IllegalResolutionMessage";
    // The buttons' centres.
    static constexpr float kButtonY = 535.0f;
    static constexpr float kSingleButtonX = 516.0f;
    static constexpr float kCancelButtonX = 642.0f;
    static constexpr float kConfirmButtonX = 390.0f;

    TMessageBox(const std::wstring& messageKey, const std::wstring& action);
    // Deletes its buttons.
    ~TMessageBox() override;

    HVResultEnum Load() override;
    HVResultEnum OnButtonClick(widget::Button* button) override;
    // The confirming button: closes and deletes the box, then the level
    // carries out the action.
    void Confirm();

    std::wstring mMessageKey;
    std::wstring mAction;
    // The closing button (ok alone, or cancel), then the confirming one.
    VessikButton* mFirstButton = nullptr;
    VessikButton* mSecondButton = nullptr;

private:
    // A button of the box's pictures centred at (x, kButtonY), made a child and
    // heard by the box; null when its pictures fail to load.
    HVResultEnum AddButton(VessikButton*& button, float x);
};
