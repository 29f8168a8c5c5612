#pragma once

namespace kx {

// Tells the desktop which program this is: Qt's desktop file name, so that
// the session matches the windows to the installed desktop entry, and the
// window icon, taken from the icon theme when the program is installed and
// from the copies compiled into the program otherwise.
//
// Call it once, right after the QApplication is constructed and before the
// first window is shown.
void ApplyDesktopIdentity();

}  // namespace kx
