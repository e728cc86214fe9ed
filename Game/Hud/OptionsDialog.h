#pragma once

// The options dialog: volumes, window or full screen, developer keys.
#include "Framework/Widget/Dialog.h"

class OptionsDialog : public widget::Dialog
{
public:
    OptionsDialog();
    ~OptionsDialog() override;

    // Nothing to build yet.
    HVResultEnum Load() override;
};
