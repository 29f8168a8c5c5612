#!/usr/bin/env bash
# In a Wayland session the program prefers XWayland, where its popups can be
# placed and kept on top: its main window appears as an X window and it says
# nothing about Wayland. Without XWayland it runs natively, says in one line
# that the compositor places the popups, and keeps running.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=SCRIPTDIR/lib_wayland.sh
source "$(dirname "$0")/lib_wayland.sh"

readonly NOTICE="kx7040-setup: running natively on Wayland, where the compositor places the popups and they may not stay on top"

# With XWayland: the program picks X11 by itself.
wl_start_weston --xwayland
wl_start_app DISPLAY="$WL_X_DISPLAY"
export DISPLAY=$WL_X_DISPLAY
e2e_wait_window "Setup" 60 >/dev/null
e2e_wait_window "Instructions for Settings utility" 30 >/dev/null
e2e_app_running || e2e_fail "the program ended on XWayland"
! grep -q -i wayland "$E2E_APP_ERR" || e2e_fail "the program talks about Wayland on XWayland: $(cat "$E2E_APP_ERR")"
e2e_log "on XWayland the main window is an X window and the program says nothing about Wayland"
_wl_cleanup
trap - EXIT
unset DISPLAY

# Without XWayland: natively. The protocol log libwayland writes with
# WAYLAND_DEBUG shows when the program's windows reach the compositor.
wl_start_weston
wl_start_app WAYLAND_DEBUG=1
toplevel_titled() {
    grep -q -F "set_title(\"$1\")" "$E2E_APP_ERR" && return 0
    e2e_app_running || e2e_fail "the program ended natively on Wayland"
    return 1
}
e2e_poll 60 toplevel_titled "Setup" || e2e_fail "no Wayland window titled \"Setup\" within 60 s"
e2e_poll 30 toplevel_titled "Instructions for Settings utility" ||
    e2e_fail "no Wayland window titled \"Instructions for Settings utility\" within 30 s"
# Qt may add warnings of its own about what Wayland does not allow; the
# program itself says one line.
own_lines=$(grep '^kx7040-setup:' "$E2E_APP_ERR" || true)
[[ $own_lines == "$NOTICE" ]] || e2e_fail "natively on Wayland the program says: '$own_lines'"
e2e_app_running || e2e_fail "the program ended natively on Wayland"
e2e_log "natively on Wayland the program runs and says once: $NOTICE"
