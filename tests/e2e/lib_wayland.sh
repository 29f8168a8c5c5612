# shellcheck shell=bash
# A Wayland session for the end-to-end tests: weston on its headless backend,
# with or without XWayland, in a private runtime folder. Source it after
# lib.sh:
#
#   source "$(dirname "$0")/lib.sh"
#   source "$(dirname "$0")/lib_wayland.sh"
#   wl_start_weston --xwayland
#
# It takes the place of e2e_start_display: the EXIT trap it installs ends the
# program, weston (and with it XWayland) and removes the temporary folder.
# shellcheck disable=SC2034  # the variables set here are read by the tests

WL_WESTON_PID=""
WL_RUNTIME=""
WL_SOCKET=""
WL_X_DISPLAY=""

_wl_cleanup() {
    local status=$?
    _e2e_end_process "$E2E_APP_PID"
    E2E_APP_PID=""
    _e2e_end_process "$WL_WESTON_PID"
    WL_WESTON_PID=""
    (exit "$status")
    _e2e_cleanup
}

_wl_socket_up() {
    [[ -S $WL_RUNTIME/$WL_SOCKET ]] && return 0
    kill -0 "$WL_WESTON_PID" 2>/dev/null || e2e_fail "weston ended at start; its log: $(cat "$E2E_TMP/weston.log")"
    return 1
}

# weston says "xserver listening on display :N" once the X socket is open; it
# starts XWayland itself only when the first X client connects.
_wl_x_display_announced() {
    local line
    line=$(grep -o 'xserver listening on display :[0-9]*' "$E2E_TMP/weston.log" 2>/dev/null) || {
        kill -0 "$WL_WESTON_PID" 2>/dev/null || e2e_fail "weston ended at start; its log: $(cat "$E2E_TMP/weston.log")"
        return 1
    }
    WL_X_DISPLAY=${line##* }
}

# wl_start_weston [--xwayland]
# Starts weston (1280 x 1024, headless) on a socket named after this shell's
# process, in a runtime folder of mode 0700 of its own. Sets WL_RUNTIME and
# WL_SOCKET, and with --xwayland WL_X_DISPLAY (":N"). Exports nothing: each
# program the test starts gets the variables it should see.
wl_start_weston() {
    _e2e_require_tools weston
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kx-e2e.XXXXXX")
    trap _wl_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    WL_RUNTIME=$E2E_TMP/runtime
    mkdir -m 700 "$WL_RUNTIME"
    WL_SOCKET=kx-test-$$
    local extra=()
    if [[ ${1:-} == --xwayland ]]; then
        _e2e_require_tools Xwayland
        extra+=(--xwayland)
    fi
    # A configuration of our own keeps the user's weston.ini out, and without
    # the panel and the on-screen keyboard client weston starts fewer programs.
    cat >"$E2E_TMP/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
panel-position=none
locking=false
INI
    env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$WL_RUNTIME" \
        weston --config="$E2E_TMP/weston.ini" --backend=headless-backend.so --socket="$WL_SOCKET" \
        --width=1280 --height=1024 "${extra[@]}" >"$E2E_TMP/weston.log" 2>&1 &
    WL_WESTON_PID=$!
    e2e_poll 20 _wl_socket_up || e2e_fail "weston opened no socket within 20 s; its log: $(cat "$E2E_TMP/weston.log")"
    if ((${#extra[@]} > 0)); then
        e2e_poll 20 _wl_x_display_announced ||
            e2e_fail "weston announced no X display within 20 s; its log: $(cat "$E2E_TMP/weston.log")"
        e2e_log "weston on $WL_SOCKET, XWayland on $WL_X_DISPLAY"
    else
        e2e_log "weston on $WL_SOCKET, without XWayland"
    fi
}

# wl_start_app ENV-ASSIGNMENTS... -- [ARGS...]
# Starts $KX_BINARY in the Wayland session with no platform chosen, as a
# Wayland desktop starts programs (XDG_SESSION_TYPE=wayland, which makes Qt
# itself prefer Wayland), with the given extra variables (DISPLAY=..., WAYLAND_DEBUG=1, ...). Sets what
# e2e_start_app sets.
wl_start_app() {
    [[ -n ${KX_BINARY:-} && -x $KX_BINARY ]] || e2e_fail "KX_BINARY (${KX_BINARY:-unset}) is not an executable file"
    local vars=()
    while (($# > 0)) && [[ $1 != -- ]]; do
        vars+=("$1")
        shift
    done
    (($# > 0)) && shift
    e2e_next_app_files
    env -u DISPLAY -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS \
        XDG_RUNTIME_DIR="$WL_RUNTIME" WAYLAND_DISPLAY="$WL_SOCKET" XDG_SESSION_TYPE=wayland "${vars[@]}" \
        "$KX_BINARY" "$@" >"$E2E_APP_OUT" 2>"$E2E_APP_ERR" &
    E2E_APP_PID=$!
    e2e_log "started $KX_BINARY (pid $E2E_APP_PID) with ${vars[*]:-no extra variables}"
}
