#pragma once

namespace win32
{
// Xlib's own handler ends the process on any protocol error; a window
// manager that destroys or reparents a window while SDL still asks about it
// (BadWindow in a coordinate query during a full-screen switch) is no reason
// to end the program. Installs a handler that writes the error to the
// debugger output and carries on; does nothing off the X11 driver.
void InstallX11ErrorHandler();
} // namespace win32
