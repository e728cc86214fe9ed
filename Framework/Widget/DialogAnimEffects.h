#pragma once

// Dialog transitions played by key-framed animations: one record of the show
// animation drives the dialog's layer in, one of the hide animation out.
#include "Core/Resource/ResourceHandle.h"
#include "Framework/Animation/AnimData.h"
#include "Framework/Widget/DialogEffects.h"

#include <memory>

namespace animation
{
class LayerAnim;
}

namespace widget
{
class DialogAnimEffectsData;

class DialogAnimEffects : public DialogEffects
{
public:
    enum State
    {
        kIdle = 0,
        kShowing = 1,
        kShown = 2,
        kHiding = 3,
        kDone = 4,
    };

    DialogAnimEffects();
    ~DialogAnimEffects() override;

    HVResultEnum Update(float dt) override;
    // The dialog is given once, by Init.
    HVResultEnum SetDialog(Dialog* dialog) override;
    HVResultEnum Show() override;
    HVResultEnum Hide() override;
    // 0 only when both animations exist and hold exactly one record each.
    HVResultEnum Init(Dialog* dialog, DialogAnimEffectsData* data);

    resource::ResourceHandle<animation::AnimData> mShowAnim;
    resource::ResourceHandle<animation::AnimData> mHideAnim;
    int mState = kIdle;
    std::unique_ptr<animation::LayerAnim> mAnim;
    float mTime = 0;
    float mEndTime = 0;
    bool mHideRequested = false;

private:
    HVResultEnum Play(const resource::ResourceHandle<animation::AnimData>& anim, int state);
};
} // namespace widget
