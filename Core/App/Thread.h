#pragma once

#include "Core/App/Win32/ThreadWin32.h"

namespace app
{
class Thread : public ThreadWin32
{
public:
    using ThreadWin32::ThreadWin32;
};
} // namespace app
