#pragma once

// The real checks behind the platform choice: a connection to the X display
// and to the Wayland socket.
//
// An X server can answer a new connection slowly when another client's
// connection closed just before (up to a quarter of a second on a busy Xvfb),
// but answers at once while one is open. So the connection a successful X
// check opened stays open until Qt has made its own.

#include <string>

#include "app/platform_choice.h"

struct xcb_connection_t;

namespace kx {

class TDisplayCheck {
public:
    TDisplayCheck() = default;
    ~TDisplayCheck();

    TDisplayCheck(const TDisplayCheck&) = delete;
    TDisplayCheck& operator=(const TDisplayCheck&) = delete;

    // Checks bound to this object; they must not outlive it.
    TDisplayProbes Probes();

    // Closes the X connection a check left open, if any.
    void Close();

    bool HoldsX11Connection() const { return m_x11 != nullptr; }

private:
    bool OpenX11(const std::string& display);

    xcb_connection_t* m_x11 = nullptr;
};

// Connects to and disconnects from the Wayland socket at the path.
bool CanConnectWaylandSocket(const std::string& socketPath);

}  // namespace kx
