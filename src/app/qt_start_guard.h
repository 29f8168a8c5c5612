#pragma once

// Watches Qt's messages while the QApplication is being constructed. When Qt
// cannot start its window-system platform it logs a few lines, ends with a
// fatal message advising to reinstall the program, and aborts with a core
// dump. While a guard lives, a fatal message instead prints the program's own
// one line and ends the process with ExitNoDisplay; the other messages are
// held back, so that a failed start prints nothing but that line, and are
// passed on unchanged when the guard ends.

#include <functional>
#include <string>

class QString;

namespace kx {

class TQtStartGuard {
public:
    // failureLine turns the text of Qt's fatal message into the one line to
    // print (without the newline).
    explicit TQtStartGuard(std::function<std::string(const QString& fatalText)> failureLine);
    ~TQtStartGuard();

    TQtStartGuard(const TQtStartGuard&) = delete;
    TQtStartGuard& operator=(const TQtStartGuard&) = delete;

    // Stops watching and passes the messages held back on to Qt's handler.
    void Release();

private:
    bool m_active = false;
};

// The plugin list in Qt's fatal message ("Available platform plugins are:
// xcb, offscreen."), as "xcb, offscreen", or empty when the text has none.
std::string AvailablePlatforms(const QString& fatalText);

}  // namespace kx
