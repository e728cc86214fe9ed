#pragma once

#include "Core/App/Win32/CriticalSectionWin32.h"

namespace app
{
// The platform lock. Final: owners delete it as its own type.
class CriticalSection final : public CriticalSectionWin32
{
};
} // namespace app
