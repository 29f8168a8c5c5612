// The command line: --help and --version, Qt's standard options passed
// through with their values, and everything else refused with one line.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_line.h"

namespace kx {
namespace {

struct TParseCase {
    const char* Name;
    std::vector<std::string> Args;
    TCommandAction Action;
    // For Refuse: the whole line the program prints.
    std::string Error = {};
    std::optional<std::string> Platform = std::nullopt;
    std::optional<std::string> Display = std::nullopt;
};

void PrintTo(const TParseCase& c, std::ostream* os) {
    *os << c.Name;
}

const std::string SeeHelp = "; see 'kx7040-setup --help'";

const TParseCase ParseCases[] = {
    {"NoArguments", {}, TCommandAction::Run},
    {"LongHelp", {"--help"}, TCommandAction::ShowHelp},
    {"ShortHelp", {"-h"}, TCommandAction::ShowHelp},
    {"LongVersion", {"--version"}, TCommandAction::ShowVersion},
    {"ShortVersion", {"-v"}, TCommandAction::ShowVersion},
    {"UnknownOption",
     {"--bogus"},
     TCommandAction::Refuse,
     "kx7040-setup: unknown option '--bogus'" + SeeHelp},
    {"UnknownShortOption", {"-x"}, TCommandAction::Refuse, "kx7040-setup: unknown option '-x'" + SeeHelp},
    {"FileName",
     {"file.txt"},
     TCommandAction::Refuse,
     "kx7040-setup: unexpected argument 'file.txt': the program opens no files" + SeeHelp},
    {"LoneDash",
     {"-"},
     TCommandAction::Refuse,
     "kx7040-setup: unexpected argument '-': the program opens no files" + SeeHelp},
    {"LoneDoubleDash", {"--"}, TCommandAction::Refuse, "kx7040-setup: unknown option '--'" + SeeHelp},
    {"EmptyArgument",
     {""},
     TCommandAction::Refuse,
     "kx7040-setup: unexpected argument '': the program opens no files" + SeeHelp},
    {"ControlCharactersEscaped",
     {"a\nb\x1b[31m"},
     TCommandAction::Refuse,
     "kx7040-setup: unexpected argument 'a\\x0Ab\\x1B[31m': the program opens no files" + SeeHelp},
    {"Utf8NameKept",
     {"\xc3\x9c"
      "bersicht.txt"},
     TCommandAction::Refuse,
     "kx7040-setup: unexpected argument '\xc3\x9c"
     "bersicht.txt': the program opens no files" +
         SeeHelp},
    {"QtPlatform", {"-platform", "offscreen"}, TCommandAction::Run, {}, "offscreen"},
    {"QtPlatformDoubleDash", {"--platform", "xcb"}, TCommandAction::Run, {}, "xcb"},
    {"QtPlatformLastWins",
     {"-platform", "xcb", "-platform", "offscreen"},
     TCommandAction::Run,
     {},
     "offscreen"},
    {"QtPlatformWithoutValue",
     {"-platform"},
     TCommandAction::Refuse,
     "kx7040-setup: option '-platform' needs a value" + SeeHelp},
    // The value is taken as it stands, even when it looks like an option.
    {"QtValueLooksLikeHelp", {"-qwindowtitle", "--help"}, TCommandAction::Run},
    {"QtValueLooksLikeFile", {"-stylesheet", "look.qss"}, TCommandAction::Run},
    {"QtDisplay", {"-display", ":3"}, TCommandAction::Run, {}, std::nullopt, ":3"},
    {"QtStyle", {"-style", "Fusion"}, TCommandAction::Run},
    {"QtStyleEquals", {"-style=Fusion"}, TCommandAction::Run},
    {"QtStyleEqualsDoubleDash", {"--style=Fusion"}, TCommandAction::Run},
    {"QtStyleEqualsEmpty",
     {"-style="},
     TCommandAction::Refuse,
     "kx7040-setup: unknown option '-style='" + SeeHelp},
    {"QtFlags", {"-reverse", "--widgetcount", "-nograb"}, TCommandAction::Run},
    {"QtValues",
     {"-qwindowgeometry", "800x600+0+0", "-name", "board", "-session", "abc", "--title", "T", "-geometry",
      "10x10"},
     TCommandAction::Run},
    {"QtOptionsThenHelp", {"-style", "Fusion", "--help"}, TCommandAction::ShowHelp},
    {"QtOptionsThenVersion", {"-platform", "offscreen", "-v"}, TCommandAction::ShowVersion, {}, "offscreen"},
    {"HelpBeforeBadArgument", {"--help", "--bogus"}, TCommandAction::ShowHelp},
    {"BadArgumentBeforeHelp",
     {"--bogus", "--help"},
     TCommandAction::Refuse,
     "kx7040-setup: unknown option '--bogus'" + SeeHelp},
    {"FileAfterQtOption",
     {"-platform", "xcb", "file.txt"},
     TCommandAction::Refuse,
     "kx7040-setup: unexpected argument 'file.txt': the program opens no files" + SeeHelp,
     "xcb"},
    // A name that only starts like a Qt option is not one.
    {"QtOptionPrefixOnly",
     {"-platformx", "xcb"},
     TCommandAction::Refuse,
     "kx7040-setup: unknown option '-platformx'" + SeeHelp},
    {"TripleDash",
     {"---platform", "xcb"},
     TCommandAction::Refuse,
     "kx7040-setup: unknown option '---platform'" + SeeHelp},
};

class CommandLineParse : public ::testing::TestWithParam<TParseCase> {};

TEST_P(CommandLineParse, DecidesAsExpected) {
    const TParseCase& c = GetParam();
    const TCommandLine result = ParseCommandLine(c.Args);
    EXPECT_EQ(result.Action, c.Action);
    EXPECT_EQ(result.Error, c.Error);
    EXPECT_EQ(result.Error.find('\n'), std::string::npos);
    if (c.Action != TCommandAction::Refuse) {
        EXPECT_EQ(result.Platform, c.Platform);
        EXPECT_EQ(result.Display, c.Display);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineParse, ::testing::ValuesIn(ParseCases),
                         [](const ::testing::TestParamInfo<TParseCase>& info) { return info.param.Name; });

TEST(CommandLineText, VersionIsNameAndNumber) {
    EXPECT_EQ(VersionText("1.1.0"), "kx7040-setup 1.1.0\n");
}

TEST(CommandLineText, UsageNamesTheOptionsAndTheDriverLibrary) {
    const std::string usage = UsageText();
    EXPECT_EQ(usage.rfind("Usage: kx7040-setup", 0), 0u);
    for (const char* part : {"--help", "--version", "-platform", "-display", "-style", "QT_QPA_PLATFORM",
                             "XWayland", "QUORDEV.dll", "LD_LIBRARY_PATH", "Exit status"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(usage.back(), '\n');
    // Every line fits a standard terminal.
    std::size_t start = 0;
    while (start < usage.size()) {
        const std::size_t end = usage.find('\n', start);
        EXPECT_LE(end - start, 80u) << usage.substr(start, end - start);
        start = end + 1;
    }
}

}  // namespace
}  // namespace kx
