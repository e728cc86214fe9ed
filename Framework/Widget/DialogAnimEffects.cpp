#include "Framework/Widget/DialogAnimEffects.h"

#include "Framework/Animation/LayerAnim.h"
#include "Framework/Widget/Dialog.h"
#include "Framework/Widget/DialogAnimEffectsData.h"

namespace widget
{
DialogAnimEffects::DialogAnimEffects()
    : DialogEffects(true, false, true, false)
{
}

DialogAnimEffects::~DialogAnimEffects() = default;

HVResultEnum DialogAnimEffects::SetDialog(Dialog*) { return HV_FAIL; }

HVResultEnum DialogAnimEffects::Init(Dialog* dialog, DialogAnimEffectsData* data)
{
    mDialog = dialog;
    if (data->mPreload)
    {
        mShowAnim = data->mShowAnim;
        mHideAnim = data->mHideAnim;
    }
    else
    {
        if (const HVResultEnum result = DialogAnimEffectsData::Fetch(data->mShowAnimName, mShowAnim); result != HV_OK)
            return result;
        if (const HVResultEnum result = DialogAnimEffectsData::Fetch(data->mHideAnimName, mHideAnim); result != HV_OK)
            return result;
    }
    if (!mShowAnim || !mHideAnim || mShowAnim->mLayers.size() != 1 || mHideAnim->mLayers.size() != 1)
        return HV_FAIL;
    return HV_OK;
}

HVResultEnum DialogAnimEffects::Play(const resource::ResourceHandle<animation::AnimData>& anim, int state)
{
    if (!anim || anim->mLayers.empty() || !mDialog)
        return HV_FAIL;
    // A running animation is replaced, never leaked.
    mAnim = std::make_unique<animation::LayerAnim>(mDialog->mLayer, anim->mLayers[0].get());
    mTime = anim->mStartTime;
    mEndTime = anim->mEndTime;
    mAnim->Apply(mTime);
    mState = state;
    return HV_OK;
}

HVResultEnum DialogAnimEffects::Show() { return Play(mShowAnim, kShowing); }

HVResultEnum DialogAnimEffects::Hide()
{
    if (mState == kShowing)
    {
        mHideRequested = true;
        return HV_OK;
    }
    // Already hiding or done: the dialog has stored its delete flag, and a
    // second hide must not restart the transition.
    if (mState == kHiding || mState == kDone)
        return HV_OK;
    return Play(mHideAnim, kHiding);
}

HVResultEnum DialogAnimEffects::Update(float dt)
{
    if (mState != kShowing && mState != kHiding)
        return HV_OK;
    mTime += dt;
    const bool over = mTime >= mEndTime;
    if (over)
        mTime = mEndTime;
    if (mAnim)
        mAnim->Apply(mTime);
    if (!over)
        return HV_OK;
    mAnim.reset();
    if (mState == kShowing)
    {
        if (mDialog)
            if (const HVResultEnum result = mDialog->OnShown(); result != HV_OK)
                return result;
        mState = kShown;
        if (mHideRequested)
        {
            mHideRequested = false;
            return Hide();
        }
        return HV_OK;
    }
    if (mDialog)
        if (const HVResultEnum result = mDialog->Close(); result != HV_OK)
            return result;
    mState = kDone;
    Stop();
    return HV_OK;
}
} // namespace widget
