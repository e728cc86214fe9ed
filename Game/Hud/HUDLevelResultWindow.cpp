#include "Game/Hud/HUDLevelResultWindow.h"

HUDLevelResultWindow::HUDLevelResultWindow() = default;

HUDLevelResultWindow::~HUDLevelResultWindow() = default;
