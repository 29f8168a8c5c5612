#pragma once

#include <functional>
#include <map>
#include <memory>

#include "platform/types.h"

class QObject;

namespace kx {

class KxTimerHost;

// A window that is never shown and only receives messages: numbered interval
// timers deliver WM_TIMER (WParam = the timer number) to its procedure on the
// user-interface thread.
class TMessageWindow {
public:
    using TWindowProc = std::function<void(TMessage&)>;

    explicit TMessageWindow(TWindowProc proc);
    ~TMessageWindow();
    TMessageWindow(const TMessageWindow&) = delete;
    TMessageWindow& operator=(const TMessageWindow&) = delete;

    // Starts (or restarts) timer id with the interval; false when the window
    // system refuses.
    bool SetTimer(unsigned id, unsigned intervalMs);
    // Stops timer id; false when it was not running.
    bool KillTimer(unsigned id);
    bool TimerActive(unsigned id) const;
    unsigned TimerInterval(unsigned id) const;

    // Delivers a message synchronously to the window procedure.
    std::intptr_t Perform(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

    // Test seam: while set, every SetTimer is refused.
    static void SetRefuseTimersForTesting(bool refuse);

private:
    friend class KxTimerHost;
    void Tick(int qtTimerId);

    TWindowProc m_proc;
    std::unique_ptr<KxTimerHost> m_host;
    std::map<unsigned, std::pair<int, unsigned>> m_timers;  // id -> (Qt timer id, interval)
};

}  // namespace kx
