# shellcheck shell=bash
# The accessibility bus for the end-to-end tests: a private session bus, the
# AT-SPI bus and registry on it, the program started with its accessibility
# bridge on, and atspi_tree.py to read and drive it as a screen reader does.
#
#   source "$(dirname "$0")/lib.sh"
#   source "$(dirname "$0")/lib_atspi.sh"
#   e2e_atspi_start_board
#   e2e_atspi find "push button" "Filter Jumpers" || e2e_fail ...
#
# Everything started here ends with the test, through the EXIT trap of lib.sh,
# which e2e_atspi_start_board extends.
# shellcheck disable=SC2034  # variables read by the tests

E2E_ATSPI_APP="KX-7040 Setup"
E2E_DBUS_PID=""
E2E_ATSPI_LAUNCHER_PID=""
E2E_ATSPI_TOOL=$(dirname "${BASH_SOURCE[0]}")/atspi_tree.py
# The system's Python, which has the AT-SPI bindings, whatever python3 is
# first on the PATH.
E2E_PYTHON=/usr/bin/python3
[[ -x $E2E_PYTHON ]] || E2E_PYTHON=python3

_e2e_atspi_cleanup() {
    local status=$?
    # The program first, while the buses it talks to still exist.
    _e2e_end_process "$E2E_APP_PID"
    E2E_APP_PID=""
    _e2e_end_process "$E2E_ATSPI_LAUNCHER_PID"
    _e2e_end_process "$E2E_DBUS_PID"
    (exit "$status")
    _e2e_cleanup
}

_e2e_bus_address_written() {
    [[ -s $E2E_TMP/dbus-address ]] && return 0
    kill -0 "$E2E_DBUS_PID" 2>/dev/null || e2e_fail "dbus-daemon ended at start"
    return 1
}

_e2e_atspi_bus_up() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1
}

# e2e_atspi_start_bus
# Starts a session bus of the test's own and the AT-SPI bus launcher on it;
# exports DBUS_SESSION_BUS_ADDRESS and the settings that turn the program's
# accessibility bridge on. Needs e2e_start_display first.
e2e_atspi_start_bus() {
    _e2e_require_tools dbus-daemon dbus-send
    [[ -x /usr/libexec/at-spi-bus-launcher ]] || e2e_fail "at-spi2-core is not installed"
    "$E2E_PYTHON" -c 'import pyatspi' 2>/dev/null || e2e_fail "python3-pyatspi is not installed"
    trap _e2e_atspi_cleanup EXIT
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$E2E_TMP/dbus-address" \
        >"$E2E_TMP/dbus.log" 2>&1 &
    E2E_DBUS_PID=$!
    e2e_poll 20 _e2e_bus_address_written || e2e_fail "dbus-daemon gave no address within 20 s"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_TMP/dbus-address")
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/atspi.log" 2>&1 &
    E2E_ATSPI_LAUNCHER_PID=$!
    e2e_poll 20 _e2e_atspi_bus_up || e2e_fail "the AT-SPI bus did not come up within 20 s"
    export QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    e2e_log "accessibility bus up"
}

# e2e_atspi_start_board
# As e2e_start_board, with the accessibility bus: the program is on the bus
# when it returns, with the help window closed.
e2e_atspi_start_board() {
    e2e_start_display
    e2e_atspi_start_bus
    e2e_start_app
    e2e_await_board
    e2e_poll 20 e2e_atspi find "frame" "Setup" || e2e_fail "the main window is not on the accessibility bus"
}

# e2e_atspi COMMAND [ARGS...]
# Runs atspi_tree.py against the program (see its help for the commands).
e2e_atspi() {
    "$E2E_PYTHON" "$E2E_ATSPI_TOOL" "$E2E_ATSPI_APP" "$@"
}

# e2e_atspi_focused_is ROLE NAME
# True when the object with the keyboard focus has that role and name.
e2e_atspi_focused_is() {
    [[ $(e2e_atspi focused 2>/dev/null) == "$1|$2" ]]
}

# e2e_atspi_has_state ROLE NAME STATE
e2e_atspi_has_state() {
    # Read all first: grep -q ending early would break the pipe under pipefail.
    local out
    out=$(e2e_atspi states "$1" "$2" 2>/dev/null) || return 1
    grep -qx "$3" <<<"$out"
}

# e2e_atspi_lacks_state ROLE NAME STATE
e2e_atspi_lacks_state() {
    local out
    out=$(e2e_atspi states "$1" "$2" 2>/dev/null) || return 1
    ! grep -qx "$3" <<<"$out"
}
