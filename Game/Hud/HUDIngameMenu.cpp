#include "Game/Hud/HUDIngameMenu.h"

HUDIngameMenu::HUDIngameMenu() = default;
