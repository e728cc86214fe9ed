#include "Framework/Widget/Dialog.h"

#include "Framework/Widget/DialogEffects.h"
#include "Framework/Widget/DialogEffectsManager.h"
#include "Framework/Widget/FrameManager.h"

namespace widget
{
Dialog::~Dialog() { StopEffects(); }

void Dialog::StopEffects()
{
    if (DialogEffects* effects = mEffects)
    {
        mEffects = nullptr;
        effects->StopEffects();
    }
}

HVResultEnum Dialog::Load() { return HV_OK; }

HVResultEnum Dialog::OnShown() { return HV_OK; }

HVResultEnum Dialog::Close()
{
    if (mCloseQueued)
        return HV_OK;
    if (!mFrameManager)
        return HV_FAIL;
    mCloseQueued = true;
    return mFrameManager->CloseFrame(this, mDeleteOnClose != 0, true);
}

HVResultEnum Dialog::Hide(bool deleteOnClose)
{
    mDeleteOnClose = deleteOnClose ? 1 : 0;
    if (mEffects)
        return mEffects->Hide();
    return Close();
}

HVResultEnum Dialog::Show(DialogEffects* effects)
{
    StopEffects();
    mEffects = effects;
    if (!effects)
        return OnShown();
    // Only the frame manager's task tree deletes finished effects; without
    // one they could never run and would leak.
    if (!mFrameManager)
    {
        mEffects = nullptr;
        delete effects;
        return HV_FAIL;
    }
    mFrameManager->AddChild(effects);
    return effects->Show();
}

HVResultEnum Dialog::OnOpen()
{
    mCloseQueued = false;
    if (mName.empty())
        return Show(nullptr);
    DialogEffects* effects = nullptr;
    if (const HVResultEnum result = DialogEffectsManager::Instance()->GetEffects(this, &effects); result != HV_OK)
        return result;
    return Show(effects);
}

HVResultEnum Dialog::OnDetachFrame()
{
    StopEffects();
    return HV_OK;
}
} // namespace widget
