#include "app/qt_start_guard.h"

#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "app/command_line.h"

namespace kx {

namespace {

struct THeldMessage {
    QtMsgType Type;
    QByteArray File;
    QByteArray Function;
    QByteArray Category;
    int Line;
    QString Text;
};

// Qt's message handler is a plain function, so the guard's state has to be
// reachable without an object; only one guard is active at a time.
struct TGuardState {
    std::mutex Lock;
    std::function<std::string(const QString&)> FailureLine;
    std::vector<THeldMessage> Held;
    QtMessageHandler Previous = nullptr;
};

TGuardState& State() {
    static TGuardState state;
    return state;
}

void GuardHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    TGuardState& state = State();
    if (type == QtFatalMsg) {
        std::string line;
        {
            std::lock_guard lock(state.Lock);
            line = state.FailureLine ? state.FailureLine(text) : std::string(ProgramName) + ": cannot start";
        }
        line += '\n';
        // Nothing may run after this: Qt is half constructed, and the held
        // lines only repeat Qt's advice in other words.
        if (write(STDERR_FILENO, line.data(), line.size()) < 0) {
            // There is nobody left to tell.
        }
        _exit(ExitNoDisplay);
    }
    std::lock_guard lock(state.Lock);
    state.Held.push_back(THeldMessage{type, QByteArray(context.file), QByteArray(context.function),
                                      QByteArray(context.category), context.line, text});
}

}  // namespace

TQtStartGuard::TQtStartGuard(std::function<std::string(const QString& fatalText)> failureLine) {
    TGuardState& state = State();
    {
        std::lock_guard lock(state.Lock);
        state.FailureLine = std::move(failureLine);
        state.Held.clear();
    }
    state.Previous = qInstallMessageHandler(GuardHandler);
    m_active = true;
}

TQtStartGuard::~TQtStartGuard() {
    Release();
}

void TQtStartGuard::Release() {
    if (!m_active) {
        return;
    }
    m_active = false;
    TGuardState& state = State();
    qInstallMessageHandler(state.Previous);
    std::vector<THeldMessage> held;
    {
        std::lock_guard lock(state.Lock);
        held.swap(state.Held);
        state.FailureLine = nullptr;
    }
    for (const THeldMessage& m : held) {
        const QMessageLogContext context(m.File.isEmpty() ? nullptr : m.File.constData(), m.Line,
                                         m.Function.isEmpty() ? nullptr : m.Function.constData(),
                                         m.Category.isEmpty() ? nullptr : m.Category.constData());
        qt_message_output(m.Type, context, m.Text);
    }
}

std::string AvailablePlatforms(const QString& fatalText) {
    static const QString marker = QStringLiteral("Available platform plugins are:");
    const qsizetype at = fatalText.indexOf(marker);
    if (at < 0) {
        return {};
    }
    QString list = fatalText.mid(at + marker.size());
    const qsizetype end = list.indexOf(QLatin1Char('\n'));
    if (end >= 0) {
        list.truncate(end);
    }
    list = list.trimmed();
    if (list.endsWith(QLatin1Char('.'))) {
        list.chop(1);
    }
    return list.toStdString();
}

}  // namespace kx
