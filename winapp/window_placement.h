#pragma once

#include <windows.h>

namespace velkaro::winapp {

// Centres a dialog as the dialog framework of the original did: over its owner's window
// rectangle, kept inside the work area of the owner's monitor; without an (enabled or disabled)
// owner, in the work area of the primary monitor.
void centreWindow(HWND window, HWND owner);

// The work area of the monitor the owner is on (the primary monitor's without an owner).
[[nodiscard]] RECT workAreaOf(HWND owner);

// Where the minimised window draws its icon: (client - icon + 1) / 2 on each axis, truncated
// toward zero.
[[nodiscard]] POINT minimisedIconPosition(SIZE client, SIZE icon);

} // namespace velkaro::winapp
