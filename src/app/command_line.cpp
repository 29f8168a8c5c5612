#include "app/command_line.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "driver/quordev.h"

namespace kx {

namespace {

// Qt's standard options as Qt 6 reads them (QCoreApplication, QGuiApplication,
// QApplication and the xcb plugin). Qt accepts each with one or two leading
// dashes; the names here carry one. Those Qt reads only on X11 (-display,
// -geometry, ...) are accepted on every platform: Qt leaves them unread there,
// and the program reads nothing after Qt.
struct TQtOption {
    std::string_view Name;
    bool TakesValue;
};

constexpr std::array QtOptions{
    TQtOption{"-platform", true},
    TQtOption{"-platformpluginpath", true},
    TQtOption{"-platformtheme", true},
    TQtOption{"-plugin", true},
    TQtOption{"-qwindowgeometry", true},
    TQtOption{"-geometry", true},
    TQtOption{"-qwindowtitle", true},
    TQtOption{"-title", true},
    TQtOption{"-qwindowicon", true},
    TQtOption{"-icon", true},
    TQtOption{"-session", true},
    TQtOption{"-display", true},
    TQtOption{"-name", true},
    TQtOption{"-visual", true},
    TQtOption{"-style", true},
    TQtOption{"-stylesheet", true},
    TQtOption{"-qmljsdebugger", true},
    TQtOption{"-reverse", false},
    TQtOption{"-testability", false},
    TQtOption{"-widgetcount", false},
    TQtOption{"-nograb", false},
    TQtOption{"-dograb", false},
    TQtOption{"-qdevel", false},
    TQtOption{"-qdebug", false},
};

// Options Qt also takes in the form -option=value.
constexpr std::array QtOptionsWithEquals{
    std::string_view{"-style="},
    std::string_view{"-stylesheet="},
    std::string_view{"-qmljsdebugger="},
};

const TQtOption* FindQtOption(std::string_view name) {
    for (const TQtOption& option : QtOptions) {
        if (option.Name == name) {
            return &option;
        }
    }
    return nullptr;
}

bool IsQtOptionWithEquals(std::string_view arg) {
    for (std::string_view prefix : QtOptionsWithEquals) {
        if (arg.size() > prefix.size() && arg.substr(0, prefix.size()) == prefix) {
            return true;
        }
    }
    return false;
}

TCommandLine Refusal(std::string text) {
    TCommandLine result;
    result.Action = TCommandAction::Refuse;
    result.Error = std::string(ProgramName) + ": " + text + "; see '" + ProgramName + " --help'";
    return result;
}

}  // namespace

std::string QuoteArgument(const std::string& arg) {
    std::string out = "'";
    for (unsigned char c : arg) {
        if (c < 0x20 || c == 0x7f) {
            char buffer[5];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '\'';
    return out;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.Action = TCommandAction::ShowHelp;
            return result;
        }
        if (arg == "--version" || arg == "-v") {
            result.Action = TCommandAction::ShowVersion;
            return result;
        }
        // Qt reads "--platform" as "-platform"; a lone "--" or "-" is no
        // option of Qt's.
        std::string_view name = arg;
        if (name.size() > 2 && name.substr(0, 2) == "--") {
            name.remove_prefix(1);
        }
        if (IsQtOptionWithEquals(name)) {
            continue;
        }
        if (const TQtOption* option = FindQtOption(name)) {
            if (!option->TakesValue) {
                continue;
            }
            if (i + 1 >= args.size()) {
                return Refusal("option " + QuoteArgument(arg) + " needs a value");
            }
            const std::string& value = args[++i];
            if (option->Name == "-platform") {
                result.Platform = value;
            } else if (option->Name == "-display") {
                result.Display = value;
            }
            continue;
        }
        if (!arg.empty() && arg[0] == '-' && arg != "-") {
            return Refusal("unknown option " + QuoteArgument(arg));
        }
        return Refusal("unexpected argument " + QuoteArgument(arg) + ": the program opens no files");
    }
    return result;
}

std::string VersionText(const std::string& version) {
    return std::string(ProgramName) + " " + version + "\n";
}

std::string UsageText() {
    std::string text = std::string("Usage: ") + ProgramName + " [OPTION]...\n";
    text += R"(Setup guide for the KX-7040 USB I/O board with isolated inputs. The main window
shows a photograph of the board; pointing at a highlighted part explains it.
The program has no settings of its own and opens no files.

Options:
  -h, --help           print this text and exit
  -v, --version        print the version and exit

Qt's standard options work as in every Qt program, with one dash or two:
  -platform NAME       window-system plugin: xcb, wayland, offscreen, ...
                       (the environment variable QT_QPA_PLATFORM does the same)
  -display DISPLAY     the X display to open instead of $DISPLAY (xcb)
  -style NAME          widget style, such as Fusion
  -stylesheet FILE     Qt style sheet
  -reverse             right-to-left layout
  -qwindowgeometry GEOMETRY, -qwindowtitle TITLE, -qwindowicon FILE,
  -platformtheme NAME, -platformpluginpath PATH, -plugin NAME, -session ID,
  -name NAME, -geometry GEOMETRY, -title TITLE, -icon FILE, -visual ID,
  -widgetcount, -testability, -nograb, -dograb

Window system:
  The popups open next to the part they explain and stay on top of the main
  window. In a Wayland session the program therefore runs through XWayland when
  an X server is reachable and no platform was chosen. Natively on Wayland the
  compositor places the popups, and they may not stay on top.

Driver library:
  The cards list asks the board maker's driver library for the installed
  cards. The library is looked for by its name, )";
    text += DriverLibraryName;
    text += R"(, through the
  system's library search: LD_LIBRARY_PATH, then the folders of
  /etc/ld.so.conf and the standard library folders. Without it the program
  runs and lists "No Card Found".

Exit status:
  0  the main window was closed, or --help or --version answered
  1  no display could be opened, or Qt could not start the chosen platform
  2  an unknown option or argument
)";
    return text;
}

}  // namespace kx
