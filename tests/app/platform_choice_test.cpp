// The platform the program starts on, decided before Qt starts: X11 first
// (XWayland included) unless the user chose a platform, native Wayland with a
// notice, and one line naming what was tried when no display answers.

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/display_check.h"
#include "app/platform_choice.h"

namespace kx {
namespace {

struct TChoiceCase {
    const char* Name;
    TSessionEnvironment Env;
    TCommandLine CommandLine = {};
    bool CanStart = true;
    std::string ForcePlatform = {};
    // Expected Notice or Error; both empty unless given.
    std::string Notice = {};
    std::string Error = {};
};

void PrintTo(const TChoiceCase& c, std::ostream* os) {
    *os << c.Name;
}

// Reachable: the X display ":0" and the Wayland socket /run/user/7/wayland-0.
TDisplayProbes FakeProbes() {
    return TDisplayProbes{
        [](const std::string& display) { return display == ":0"; },
        [](const std::string& path) { return path == "/run/user/7/wayland-0"; },
    };
}

TCommandLine WithPlatform(const char* platform) {
    TCommandLine c;
    c.Platform = platform;
    return c;
}

TCommandLine WithDisplay(const char* display) {
    TCommandLine c;
    c.Display = display;
    return c;
}

const std::string Native =
    "kx7040-setup: running natively on Wayland, where the compositor places the popups and they may not stay "
    "on top";
const std::string Needed = "; a graphical session is needed";
const char* Rt = "/run/user/7";

const TChoiceCase ChoiceCases[] = {
    {"X11Session", {"", ":0", "", Rt}, {}, true, "xcb"},
    {"WaylandWithXWayland", {"", ":0", "wayland-0", Rt}, {}, true, "xcb"},
    {"WaylandWithoutXWayland", {"", "", "wayland-0", Rt}, {}, true, "wayland", Native},
    {"WaylandWithDeadXWayland", {"", ":5", "wayland-0", Rt}, {}, true, "wayland", Native},
    {"WaylandSocketAsPath", {"", "", "/run/user/7/wayland-0", ""}, {}, true, "wayland", Native},
    {"NoDisplayAtAll",
     {"", "", "", Rt},
     {},
     false,
     "",
     "",
     "kx7040-setup: no display: neither DISPLAY nor WAYLAND_DISPLAY is set" + Needed},
    {"X11Refuses",
     {"", ":99", "", Rt},
     {},
     false,
     "",
     "",
     "kx7040-setup: cannot open display ':99' (X11)" + Needed},
    {"BothRefuse",
     {"", ":99", "wayland-9", Rt},
     {},
     false,
     "",
     "",
     "kx7040-setup: cannot open display ':99' (X11); cannot connect to Wayland display 'wayland-9' "
     "(/run/user/7/wayland-9)" +
         Needed},
    {"WaylandWithoutRuntimeDir",
     {"", "", "wayland-0", ""},
     {},
     false,
     "",
     "",
     "kx7040-setup: cannot connect to Wayland display 'wayland-0': XDG_RUNTIME_DIR is not set" + Needed},
    {"DisplayArgumentWins", {"", ":99", "", Rt}, WithDisplay(":0"), true, "xcb"},
    {"DisplayArgumentRefuses",
     {"", ":0", "", Rt},
     WithDisplay(":42"),
     false,
     "",
     "",
     "kx7040-setup: cannot open display ':42' (X11)" + Needed},
    // A platform the user chose stands, and is not forced again.
    {"UserChoseOffscreen", {"offscreen", "", "", ""}, {}, true},
    {"UserChoseOffscreenWithOptions", {"offscreen:configfile=/tmp/s.json", "", "", ""}, {}, true},
    {"ArgumentChoseOffscreen", {"", "", "", ""}, WithPlatform("offscreen"), true},
    {"ArgumentOverridesEnvironment", {"xcb", ":99", "", Rt}, WithPlatform("minimal"), true},
    {"UserChoseWaylandWithXWayland", {"wayland", ":0", "wayland-0", Rt}, {}, true, "", Native},
    {"UserChoseXcbWithoutX11",
     {"xcb", "", "wayland-0", Rt},
     {},
     false,
     "",
     "",
     "kx7040-setup: no X display: DISPLAY is not set" + Needed},
    {"UserChoseXcbDisplayRefuses",
     {"xcb", ":99", "", Rt},
     {},
     false,
     "",
     "",
     "kx7040-setup: cannot open display ':99' (X11)" + Needed},
    {"UserListFallsBackToXcb", {"wayland;xcb", ":0", "", Rt}, {}, true},
    {"UserListNothingAnswers",
     {"wayland;xcb", ":99", "", Rt},
     {},
     false,
     "",
     "",
     "kx7040-setup: no Wayland display: WAYLAND_DISPLAY is not set; cannot open display ':99' (X11)" +
         Needed},
    // Names the program does not know are Qt's to judge.
    {"UserChoseUnknownPlatform", {"bogus", "", "", ""}, {}, true},
};

class PlatformChoice : public ::testing::TestWithParam<TChoiceCase> {};

TEST_P(PlatformChoice, ChoosesAsExpected) {
    const TChoiceCase& c = GetParam();
    const TPlatformChoice choice = ChoosePlatform(c.CommandLine, c.Env, FakeProbes());
    EXPECT_EQ(choice.CanStart, c.CanStart);
    EXPECT_EQ(choice.ForcePlatform, c.ForcePlatform);
    EXPECT_EQ(choice.Notice, c.Notice);
    EXPECT_EQ(choice.Error, c.Error);
}

INSTANTIATE_TEST_SUITE_P(Table, PlatformChoice, ::testing::ValuesIn(ChoiceCases),
                         [](const ::testing::TestParamInfo<TChoiceCase>& info) { return info.param.Name; });

TEST(PlatformChoiceProbes, XWaylandIsTriedFirstAndWaylandNotAtAll) {
    std::set<std::string> tried;
    const TDisplayProbes probes{
        [&](const std::string& display) {
            tried.insert("x11 " + display);
            return true;
        },
        [&](const std::string& path) {
            tried.insert("wayland " + path);
            return true;
        },
    };
    const TPlatformChoice choice = ChoosePlatform({}, {"", ":1", "wayland-1", "/rt"}, probes);
    EXPECT_EQ(choice.X11Display, ":1");
    EXPECT_EQ(tried, std::set<std::string>{"x11 :1"});
}

TEST(PlatformChoiceProbes, WaylandSocketPath) {
    EXPECT_EQ(WaylandSocketPath("wayland-0", "/run/user/7"), "/run/user/7/wayland-0");
    EXPECT_EQ(WaylandSocketPath("/tmp/w", ""), "/tmp/w");
    EXPECT_EQ(WaylandSocketPath("wayland-0", ""), "");
    EXPECT_EQ(WaylandSocketPath("", "/run/user/7"), "");
}

// The real checks against servers that cannot exist: a display number no
// server listens on and a socket path that is no socket. A failed X check
// keeps nothing open.
TEST(DisplayCheck, FailsWithoutServer) {
    TDisplayCheck check;
    const TDisplayProbes probes = check.Probes();
    EXPECT_FALSE(probes.CanOpenX11(":65000"));
    EXPECT_FALSE(probes.CanOpenX11("not a display"));
    EXPECT_FALSE(check.HoldsX11Connection());
    EXPECT_FALSE(probes.CanOpenWayland("/nonexistent/wayland-0"));
    EXPECT_FALSE(probes.CanOpenWayland(std::string(200, 'x')));
}

}  // namespace
}  // namespace kx
