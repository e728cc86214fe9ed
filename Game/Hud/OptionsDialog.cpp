#include "Game/Hud/OptionsDialog.h"

OptionsDialog::OptionsDialog() = default;

OptionsDialog::~OptionsDialog() = default;

HVResultEnum OptionsDialog::Load()
{
    return HV_OK;
}
