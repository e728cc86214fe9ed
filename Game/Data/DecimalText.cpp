#include "Game/Data/DecimalText.h"

#include "Core/Base/FormatSpec.h"

std::wstring DecimalText(int32_t value)
{
    base::FormatSpec spec(0, 0);
    spec.WriteInt(value);
    return spec.GetText();
}
