#pragma once

// Tests that reach app::Application::Instance install the object it makes.
// Without a factory a plain app::Application is made.
#include "Core/App/Application.h"

#include <functional>

namespace hvtest
{
void SetApplicationFactory(std::function<app::Application*()> factory);
} // namespace hvtest
