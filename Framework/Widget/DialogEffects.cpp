#include "Framework/Widget/DialogEffects.h"

#include "Framework/Widget/Dialog.h"

namespace widget
{
DialogEffects::~DialogEffects()
{
    if (mDialog && mDialog->mEffects == this)
        mDialog->mEffects = nullptr;
}

HVResultEnum DialogEffects::SetDialog(Dialog* dialog)
{
    mDialog = dialog;
    return HV_OK;
}

HVResultEnum DialogEffects::StopEffects()
{
    Stop();
    mDialog = nullptr;
    return HV_OK;
}
} // namespace widget
