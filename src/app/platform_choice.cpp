#include "app/platform_choice.h"

#include <cstdlib>
#include <vector>

namespace kx {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::vector<std::string> SplitPlatforms(const std::string& list) {
    // QT_QPA_PLATFORM may name several platforms, "wayland;xcb", tried in order;
    // each may carry options after a colon, "offscreen:configfile=...".
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string entry = list.substr(start, end - start);
        entry = entry.substr(0, entry.find(':'));
        if (!entry.empty()) {
            names.push_back(entry);
        }
        start = end + 1;
    }
    return names;
}

bool IsWaylandPlatform(const std::string& name) {
    return name.rfind("wayland", 0) == 0;
}

// Tries the X display; on failure says why in a few words.
bool TryX11(const std::string& display, const TDisplayProbes& probes, std::string& reason) {
    if (display.empty()) {
        reason = "no X display: DISPLAY is not set";
        return false;
    }
    if (!probes.CanOpenX11(display)) {
        reason = "cannot open display '" + display + "' (X11)";
        return false;
    }
    return true;
}

bool TryWayland(const TSessionEnvironment& env, const TDisplayProbes& probes, std::string& reason) {
    if (env.WaylandDisplay.empty()) {
        reason = "no Wayland display: WAYLAND_DISPLAY is not set";
        return false;
    }
    const std::string path = WaylandSocketPath(env.WaylandDisplay, env.RuntimeDir);
    if (path.empty()) {
        reason = "cannot connect to Wayland display '" + env.WaylandDisplay + "': XDG_RUNTIME_DIR is not set";
        return false;
    }
    if (!probes.CanOpenWayland(path)) {
        reason = "cannot connect to Wayland display '" + env.WaylandDisplay + "' (" + path + ")";
        return false;
    }
    return true;
}

std::string NativeWaylandNotice() {
    return std::string(ProgramName) +
           ": running natively on Wayland, where the compositor places the popups and they may not "
           "stay on top";
}

std::string Failure(const std::vector<std::string>& reasons) {
    std::string text = std::string(ProgramName) + ": ";
    for (const std::string& reason : reasons) {
        text += reason + "; ";
    }
    return text + "a graphical session is needed";
}

}  // namespace

TSessionEnvironment TSessionEnvironment::FromProcess() {
    TSessionEnvironment env;
    env.QtPlatform = Env("QT_QPA_PLATFORM");
    env.X11Display = Env("DISPLAY");
    env.WaylandDisplay = Env("WAYLAND_DISPLAY");
    env.RuntimeDir = Env("XDG_RUNTIME_DIR");
    return env;
}

std::string WaylandSocketPath(const std::string& waylandDisplay, const std::string& runtimeDir) {
    if (!waylandDisplay.empty() && waylandDisplay[0] == '/') {
        return waylandDisplay;
    }
    if (waylandDisplay.empty() || runtimeDir.empty()) {
        return {};
    }
    return runtimeDir + "/" + waylandDisplay;
}

TPlatformChoice ChoosePlatform(const TCommandLine& commandLine, const TSessionEnvironment& env,
                               const TDisplayProbes& probes) {
    TPlatformChoice choice;
    const std::string x11Display = commandLine.Display.value_or(env.X11Display);
    const std::string chosen = commandLine.Platform.value_or(env.QtPlatform);
    std::vector<std::string> reasons;
    std::string reason;

    if (!chosen.empty()) {
        // The user's choice stands; only a display it needs and cannot reach
        // stops the start. Platforms without a display server (offscreen,
        // minimal, vnc, ...) and names the program does not know are left to
        // Qt.
        for (const std::string& name : SplitPlatforms(chosen)) {
            if (name == "xcb") {
                if (TryX11(x11Display, probes, reason)) {
                    choice.Platform = name;
                    choice.X11Display = x11Display;
                    return choice;
                }
                reasons.push_back(reason);
            } else if (IsWaylandPlatform(name)) {
                if (TryWayland(env, probes, reason)) {
                    choice.Platform = name;
                    choice.Notice = NativeWaylandNotice();
                    return choice;
                }
                reasons.push_back(reason);
            } else {
                choice.Platform = name;
                return choice;
            }
        }
        if (reasons.empty()) {
            reasons.push_back("QT_QPA_PLATFORM names no platform");
        }
        choice.CanStart = false;
        choice.Error = Failure(reasons);
        return choice;
    }

    if (x11Display.empty() && env.WaylandDisplay.empty()) {
        choice.CanStart = false;
        choice.Error = Failure({"no display: neither DISPLAY nor WAYLAND_DISPLAY is set"});
        return choice;
    }
    // X11 first, XWayland included: there the popups can be placed and kept on
    // top. Naming the platform also keeps Qt from trying Wayland first in a
    // Wayland session.
    if (!x11Display.empty()) {
        if (TryX11(x11Display, probes, reason)) {
            choice.ForcePlatform = "xcb";
            choice.Platform = "xcb";
            choice.X11Display = x11Display;
            return choice;
        }
        reasons.push_back(reason);
    }
    if (!env.WaylandDisplay.empty()) {
        if (TryWayland(env, probes, reason)) {
            choice.ForcePlatform = "wayland";
            choice.Platform = "wayland";
            choice.Notice = NativeWaylandNotice();
            return choice;
        }
        reasons.push_back(reason);
    }
    choice.CanStart = false;
    choice.Error = Failure(reasons);
    return choice;
}

}  // namespace kx
