#include "app/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <xcb/xcb.h>

namespace kx {

TDisplayCheck::~TDisplayCheck() {
    Close();
}

TDisplayProbes TDisplayCheck::Probes() {
    return TDisplayProbes{[this](const std::string& display) { return OpenX11(display); },
                          CanConnectWaylandSocket};
}

void TDisplayCheck::Close() {
    if (m_x11 != nullptr) {
        xcb_disconnect(m_x11);
        m_x11 = nullptr;
    }
}

bool TDisplayCheck::OpenX11(const std::string& display) {
    Close();
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(display.empty() ? nullptr : display.c_str(), &screen);
    // xcb_connect never returns null; a failed connection reports its error
    // and must still be freed.
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    m_x11 = connection;
    return true;
}

bool CanConnectWaylandSocket(const std::string& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

}  // namespace kx
