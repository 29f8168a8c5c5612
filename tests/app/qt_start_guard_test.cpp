// While Qt starts, its messages are held back and a fatal one ends the
// program with one line of the program's own instead of an abort.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QString>
#include <QtGlobal>

#include "app/qt_start_guard.h"

namespace kx {
namespace {

std::vector<QString>* g_captured = nullptr;

void Capture(QtMsgType, const QMessageLogContext&, const QString& text) {
    if (g_captured != nullptr) {
        g_captured->push_back(text);
    }
}

TEST(QtStartGuard, HoldsMessagesBackUntilReleased) {
    std::vector<QString> captured;
    g_captured = &captured;
    const QtMessageHandler before = qInstallMessageHandler(Capture);
    {
        TQtStartGuard guard([](const QString&) { return std::string("unused"); });
        qWarning("first");
        qInfo("second");
        EXPECT_TRUE(captured.empty());
        guard.Release();
        EXPECT_EQ(captured, (std::vector<QString>{"first", "second"}));
        qWarning("after");
        EXPECT_EQ(captured.back(), "after");
    }
    qInstallMessageHandler(before);
    g_captured = nullptr;
}

TEST(QtStartGuardDeathTest, FatalMessageBecomesOneLineAndExitCodeOne) {
    // Forked without a new start of the binary, the child prints nothing but
    // what the guard lets through.
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            TQtStartGuard guard(
                [](const QString& text) { return "kx7040-setup: failed: " + text.toStdString(); });
            qWarning("held back");
            qFatal("no platform");
        },
        ::testing::ExitedWithCode(1), "^kx7040-setup: failed: no platform\n$");
}

TEST(QtStartGuard, AvailablePlatformsFromQtsMessage) {
    const QString fatal =
        "This application failed to start because no Qt platform plugin could be initialized. Reinstalling "
        "the application may fix this problem.\n\nAvailable platform plugins are: minimal, offscreen, xcb.\n";
    EXPECT_EQ(AvailablePlatforms(fatal), "minimal, offscreen, xcb");
    EXPECT_EQ(AvailablePlatforms("something else"), "");
}

}  // namespace
}  // namespace kx
