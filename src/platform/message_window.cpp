#include "platform/message_window.h"

#include <QObject>
#include <QTimerEvent>

#include "platform/qt_bridge.h"

namespace kx {

namespace {
bool g_refuseTimers = false;
}

class KxTimerHost : public QObject {
public:
    explicit KxTimerHost(TMessageWindow* owner) : m_owner(owner) {}

protected:
    void timerEvent(QTimerEvent* e) override { m_owner->Tick(e->timerId()); }

private:
    TMessageWindow* m_owner;
};

TMessageWindow::TMessageWindow(TWindowProc proc)
    : m_proc(std::move(proc)), m_host(std::make_unique<KxTimerHost>(this)) {}

TMessageWindow::~TMessageWindow() {
    for (const auto& [id, timer] : m_timers) {
        m_host->killTimer(timer.first);
    }
}

void TMessageWindow::SetRefuseTimersForTesting(bool refuse) {
    g_refuseTimers = refuse;
}

bool TMessageWindow::SetTimer(unsigned id, unsigned intervalMs) {
    if (g_refuseTimers) {
        return false;
    }
    KillTimer(id);
    const int qtId = m_host->startTimer(static_cast<int>(intervalMs), Qt::PreciseTimer);
    if (qtId == 0) {
        return false;
    }
    m_timers[id] = {qtId, intervalMs};
    return true;
}

bool TMessageWindow::KillTimer(unsigned id) {
    auto it = m_timers.find(id);
    if (it == m_timers.end()) {
        return false;
    }
    m_host->killTimer(it->second.first);
    m_timers.erase(it);
    return true;
}

bool TMessageWindow::TimerActive(unsigned id) const {
    return m_timers.count(id) != 0;
}

unsigned TMessageWindow::TimerInterval(unsigned id) const {
    auto it = m_timers.find(id);
    return it == m_timers.end() ? 0 : it->second.second;
}

std::intptr_t TMessageWindow::Perform(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
    TMessage m{msg, wParam, lParam, 0};
    m_proc(m);
    return m.Result;
}

void TMessageWindow::Tick(int qtTimerId) {
    for (const auto& [id, timer] : m_timers) {
        if (timer.first == qtTimerId) {
            const unsigned number = id;
            SafeCall([this, number] { Perform(WM_TIMER, number, 0); });
            return;
        }
    }
}

}  // namespace kx
