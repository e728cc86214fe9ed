#include "Core/App/Application.h"

namespace
{
// Stands in until the game's own application exists: no window task, so the
// first update finds nothing to wait for and the loop ends after one turn.
class PlaceholderApplication final : public app::Application
{
};
} // namespace

namespace app
{
Application* CreateApplication()
{
    return new PlaceholderApplication;
}
} // namespace app
