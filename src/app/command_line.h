#pragma once

// The program's command line. The program has no settings of its own: it
// answers --help and --version, passes Qt's standard options (with their
// values) through to Qt untouched, and refuses everything else. Parsing runs
// before the QApplication exists, so that these answers need no display.

#include <optional>
#include <string>
#include <vector>

namespace kx {

// The name the program calls itself by in every message, whatever the file it
// was started from is called.
inline constexpr char ProgramName[] = "kx7040-setup";

// Exit codes besides 0.
inline constexpr int ExitNoDisplay = 1;
inline constexpr int ExitBadArguments = 2;

enum class TCommandAction {
    Run,          // start the program
    ShowHelp,     // print UsageText on stdout, exit 0
    ShowVersion,  // print VersionText on stdout, exit 0
    Refuse,       // print Error on stderr, exit ExitBadArguments
};

struct TCommandLine {
    TCommandAction Action = TCommandAction::Run;
    // For Refuse: one line, without the trailing newline.
    std::string Error;
    // The values of Qt's -platform and -display options, when given (the last
    // one counts, as in Qt).
    std::optional<std::string> Platform;
    std::optional<std::string> Display;
};

// Reads the arguments after the program name. They are read in order and the
// first that decides the outcome wins: "--bogus --help" is refused, "--help
// --bogus" prints the usage.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text --help prints, ending in a newline.
std::string UsageText();

// The line --version prints, ending in a newline.
std::string VersionText(const std::string& version);

// An argument as it may be shown in a one-line message: in single quotes, with
// control characters written as \xNN, so that what a user typed cannot break
// the line or drive the terminal. Other bytes (UTF-8 names) stay as they are.
std::string QuoteArgument(const std::string& arg);

}  // namespace kx
