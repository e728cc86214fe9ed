// The program's application: the game. A source of its own, so that a test
// program linking the game keeps its own factory.
#include "Game/Game.h"

#include <new>

namespace app
{
Application* CreateApplication()
{
    return new (std::nothrow) Game;
}
} // namespace app
