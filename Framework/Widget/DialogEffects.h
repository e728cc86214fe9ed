#pragma once

// The transition task of a shown dialog: a child task of the frame manager.
#include "Core/Base/Result.h"
#include "Core/Base/Task.h"

namespace widget
{
class Dialog;

class DialogEffects : public base::Task
{
public:
    using base::Task::Task;
    // Clears the dialog's pointer to these effects, so that either may be
    // deleted first.
    ~DialogEffects() override;

    virtual HVResultEnum SetDialog(Dialog* dialog);
    virtual HVResultEnum Show() = 0;
    virtual HVResultEnum Hide() = 0;
    // Stops the task, so that its parent removes and deletes it, and forgets
    // the dialog.
    virtual HVResultEnum StopEffects();

    Dialog* mDialog = nullptr;
};
} // namespace widget
