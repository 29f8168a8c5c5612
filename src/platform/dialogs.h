#pragma once

#include <functional>
#include <string>

namespace kx {

// Message box flags and answers, with the window system's values.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_SETFOREGROUND = 0x10000;
constexpr unsigned MB_TOPMOST = 0x40000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct TMessageBoxRequest {
    std::string Text;
    std::string Caption;
    unsigned Flags = 0;
};

// Shows a modal message box: every other window of the program is disabled
// while it is open; the box stays on top. Returns the button chosen (closing
// the box counts as Cancel, or OK for a box with only OK).
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags);

// Test seam: while set, message boxes are answered by the handler instead of
// a person.
using TMessageBoxHandler = std::function<int(const TMessageBoxRequest&)>;
void SetMessageBoxHandler(TMessageBoxHandler handler);

}  // namespace kx
