#pragma once

// The toolkit's modal message: a localised text and either one button that
// closes it or a second one that closes it and hands its action word to the
// running level.
#include "Framework/Widget/ButtonListener.h"
#include "Framework/Widget/Dialog.h"

#include <string>

class TMessageBox : public widget::Dialog, public widget::ButtonListener
{
public:
    TMessageBox(const std::wstring& messageKey, const std::wstring& action);
    ~TMessageBox() override;

    HVResultEnum Load() override;
    // The confirming button: closes and deletes the box, then the level
    // carries out the action.
    void Confirm();

    std::wstring mMessageKey;
    std::wstring mAction;
};
