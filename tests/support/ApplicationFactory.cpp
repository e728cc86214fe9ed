#include "support/ApplicationFactory.h"

namespace
{
std::function<app::Application*()>& Factory()
{
    static std::function<app::Application*()> factory;
    return factory;
}
} // namespace

namespace hvtest
{
void SetApplicationFactory(std::function<app::Application*()> factory)
{
    Factory() = std::move(factory);
}
} // namespace hvtest

namespace app
{
// Weak: a test executable that links the game's factory gets the game's.
__attribute__((weak)) Application* CreateApplication()
{
    return Factory() ? Factory()() : new Application;
}
} // namespace app
