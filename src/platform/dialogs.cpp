#include "platform/dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace kx {

namespace {

TMessageBoxHandler& Handler() {
    static TMessageBoxHandler handler;
    return handler;
}

}  // namespace

void SetMessageBoxHandler(TMessageBoxHandler handler) {
    Handler() = std::move(handler);
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    if (Handler()) {
        return Handler()({text, caption, flags});
    }
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (flags & 0xF0) {
        case MB_ICONERROR:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    int escapeAnswer = IDCANCEL;
    switch (flags & 0xF) {
        case MB_OKCANCEL:
            choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNO:
            choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
            escapeAnswer = IDNO;
            break;
        case MB_RETRYCANCEL:
            choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        default:
            choices = {{QMessageBox::Ok, IDOK}};
            escapeAnswer = IDOK;
            break;
    }
    for (const Choice& c : choices) {
        box.addButton(c.button);
    }
    const std::size_t defaultIndex = (flags & MB_DEFBUTTON2) && choices.size() > 1 ? 1 : 0;
    box.setDefaultButton(choices[defaultIndex].button);
    box.setEscapeButton(choices.back().button);
    box.setWindowModality(Qt::ApplicationModal);
    if (flags & MB_TOPMOST) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    QWidget* previous = QApplication::activeWindow();
    const int result = box.exec();
    if (previous != nullptr) {
        previous->activateWindow();
    }
    for (const Choice& c : choices) {
        if (result == c.button) {
            return c.answer;
        }
    }
    return escapeAnswer;
}

}  // namespace kx
