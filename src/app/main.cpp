// The setup guide for the KX-7040: one main window built from the board
// description compiled into the program.
//
// Everything that must work without a display happens before the QApplication
// exists: the answers to --help and --version, the refusal of arguments the
// program does not know, and the check that a display can be opened at all.

#include <cstdio>
#include <string>
#include <vector>

#include <QApplication>
#include <QString>

#include "app/command_line.h"
#include "app/desktop_identity.h"
#include "app/display_check.h"
#include "app/main_form.h"
#include "app/platform_choice.h"
#include "app/qt_start_guard.h"
#include "platform/application.h"

namespace {

// What to say if Qt cannot start its platform after all. The display, when
// there is one, answered the check a moment ago, so the platform itself is
// named, with the display it was to open and Qt's list of the platforms it has.
std::string StartFailure(const kx::TPlatformChoice& choice, const QString& fatalText) {
    std::string line =
        std::string(kx::ProgramName) + ": cannot start on the Qt platform '" + choice.Platform + "'";
    if (!choice.X11Display.empty()) {
        line += " with display '" + choice.X11Display + "'";
    }
    const std::string available = kx::AvailablePlatforms(fatalText);
    if (!available.empty()) {
        line += " (available: " + available + ")";
    }
    return line;
}

// Prints the answer to --help or --version. A full disk or a closed pipe
// must not pass for success.
int Answer(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "%s: cannot write to standard output\n", kx::ProgramName);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const kx::TCommandLine commandLine = kx::ParseCommandLine(args);
    switch (commandLine.Action) {
        case kx::TCommandAction::ShowHelp:
            return Answer(kx::UsageText());
        case kx::TCommandAction::ShowVersion:
            return Answer(kx::VersionText(KX_VERSION));
        case kx::TCommandAction::Refuse:
            std::fprintf(stderr, "%s\n", commandLine.Error.c_str());
            return kx::ExitBadArguments;
        case kx::TCommandAction::Run:
            break;
    }

    kx::TDisplayCheck displayCheck;
    const kx::TPlatformChoice choice =
        kx::ChoosePlatform(commandLine, kx::TSessionEnvironment::FromProcess(), displayCheck.Probes());
    if (!choice.CanStart) {
        std::fprintf(stderr, "%s\n", choice.Error.c_str());
        return kx::ExitNoDisplay;
    }
    if (!choice.Notice.empty()) {
        std::fprintf(stderr, "%s\n", choice.Notice.c_str());
    }

    // Qt reads the platform from the arguments it is given; naming it there
    // rather than in QT_QPA_PLATFORM keeps the choice out of the environment
    // of programs started from this one. Qt keeps a reference to the count,
    // and both outlive the application object.
    std::string platformOption = "-platform";
    std::string platformName = choice.ForcePlatform;
    std::vector<char*> qtArgv;
    qtArgv.push_back(argc > 0 ? argv[0] : const_cast<char*>(kx::ProgramName));
    if (!platformName.empty()) {
        qtArgv.push_back(platformOption.data());
        qtArgv.push_back(platformName.data());
    }
    for (int i = 1; i < argc; ++i) {
        qtArgv.push_back(argv[i]);
    }
    int qtArgc = static_cast<int>(qtArgv.size());
    qtArgv.push_back(nullptr);

    kx::TQtStartGuard guard([&choice](const QString& fatalText) { return StartFailure(choice, fatalText); });
    QApplication qtApp(qtArgc, qtArgv.data());
    guard.Release();
    displayCheck.Close();

    // The application name is the class of every window on X11 (WM_CLASS), by
    // which docks match the windows to the desktop entry; so it is the
    // program's name, not a title.
    QApplication::setApplicationName(kx::ProgramName);
    // The desktop entry's id and the icon, for task bars, docks and Wayland.
    kx::ApplyDesktopIdentity();

    return kx::RunSetupProgram();
}
