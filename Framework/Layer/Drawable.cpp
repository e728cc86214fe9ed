#include "Framework/Layer/Drawable.h"

namespace layer
{
void Drawable::SetHitRectEnabled(bool enabled)
{
    mHitRectEnabled = enabled;
    mHitRectValid = false;
}
} // namespace layer
