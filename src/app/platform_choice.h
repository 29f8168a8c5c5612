#pragma once

// Which of Qt's window-system platforms the program starts on, decided before
// the QApplication exists, and whether a display can be opened there at all.
// Qt itself aborts when it cannot open its display; deciding first lets the
// program say in one line what it tried and exit cleanly instead.
//
// The popups open at positions of their own and stay on top of the main window.
// Only X11 lets a program do both, so in a Wayland session the program runs
// through XWayland when an X server is reachable, unless the user chose a
// platform; natively on Wayland it says what it cannot do.

#include <functional>
#include <string>

#include "app/command_line.h"

namespace kx {

// The environment variables the choice depends on; empty when unset.
struct TSessionEnvironment {
    std::string QtPlatform;      // QT_QPA_PLATFORM
    std::string X11Display;      // DISPLAY
    std::string WaylandDisplay;  // WAYLAND_DISPLAY
    std::string RuntimeDir;      // XDG_RUNTIME_DIR

    static TSessionEnvironment FromProcess();
};

// The checks that reach out to a display server (TDisplayCheck has the real
// ones); tests pass their own.
struct TDisplayProbes {
    // Opens and closes a connection to the X display named so.
    std::function<bool(const std::string& display)> CanOpenX11;
    // Connects to and disconnects from the Wayland socket at this path.
    std::function<bool(const std::string& socketPath)> CanOpenWayland;
};

struct TPlatformChoice {
    bool CanStart = true;
    // When not empty, the program passes "-platform <ForcePlatform>" to Qt.
    std::string ForcePlatform;
    // The platform the program expects to run on ("xcb", "wayland", or what the
    // user chose); names the display in a message if Qt fails after all.
    std::string Platform;
    // For xcb, the X display that answered.
    std::string X11Display;
    // One line for stderr before starting, or empty.
    std::string Notice;
    // When CanStart is false: the one line for stderr, without the newline.
    std::string Error;
};

TPlatformChoice ChoosePlatform(const TCommandLine& commandLine, const TSessionEnvironment& env,
                               const TDisplayProbes& probes);

// Where libwayland looks for the socket of WAYLAND_DISPLAY: the name itself
// when it is a path, else the name under XDG_RUNTIME_DIR. Empty when neither
// gives a path.
std::string WaylandSocketPath(const std::string& waylandDisplay, const std::string& runtimeDir);

}  // namespace kx
