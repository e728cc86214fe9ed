#pragma once

// A named modal frame. When it opens it looks its name up in the
// dialog-effects table and plays the show transition; hiding it plays the
// hide transition and closes it when that ends.
#include "Core/Base/Result.h"
#include "Framework/Widget/BaseBoard.h"

#include <cstdint>
#include <string>

namespace widget
{
class DialogEffects;

class Dialog : public BaseBoard
{
public:
    Dialog() = default;
    // Stops effects that are still attached.
    ~Dialog() override;

    // Subclasses build their content here.
    virtual HVResultEnum Load() override;
    // The show transition ended, or there was none.
    virtual HVResultEnum OnShown();
    // Queues the close (with the delete flag) in the frame manager. Further
    // calls do nothing until the dialog opens again; 1 when it is not open.
    virtual HVResultEnum Close();
    // Plays the hide transition, or closes when there is none.
    virtual HVResultEnum Hide(bool deleteOnClose);
    // Replaces the current effects; with none the dialog is shown at once.
    virtual HVResultEnum Show(DialogEffects* effects);

    HVResultEnum OnOpen() override;
    HVResultEnum OnDetachFrame() override;

    std::string mName;
    DialogEffects* mEffects = nullptr;
    uint8_t mDeleteOnClose = 0;
    // Set when a close is queued; a second request would name a deleted frame.
    bool mCloseQueued = false;

private:
    void StopEffects();
};
} // namespace widget
