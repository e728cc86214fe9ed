#pragma once

#include "Core/Base/Task.h"

namespace app
{
class ThreadBase : public base::Task
{
public:
    using base::Task::Task;
};
} // namespace app
