# shellcheck shell=bash
# Shared helpers of the end-to-end tests. A test sources this file, starts a
# display and the program, drives it with real keys and pointer moves, and
# checks what the X server shows.
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_start_display
#   e2e_start_app
#   wid=$(e2e_wait_window "Setup")
#
# Environment (CTest sets both):
#   KX_BINARY   the program under test
#   KX_E2E_OUT  folder for screenshots and the program's output; created when
#               missing, defaults to ./e2e-screenshots
#
# Every wait polls a condition until a deadline; none sleeps for a fixed time,
# so the tests hold on a slow or busy machine. Timeouts are in seconds and may
# have a fraction ("2.5"). A failed check calls e2e_fail, which takes a
# screenshot named after the test and ends the script with status 1. The EXIT
# trap installed by e2e_start_display ends everything the test started, so a
# test must not install an EXIT trap of its own.
#
# Functions documented as "sets" report through global variables and must be
# called directly, not inside $(...), or the variables stay in the subshell.
# shellcheck disable=SC2034  # those variables are read by the tests

set -euo pipefail

E2E_NAME=$(basename "$0" .sh)
KX_E2E_OUT=${KX_E2E_OUT:-$PWD/e2e-screenshots}
mkdir -p "$KX_E2E_OUT"

E2E_TMP=""
E2E_XVFB_PID=""
E2E_WM_PID=""
E2E_APP_PID=""
E2E_APP_STATUS=""
E2E_APP_COUNT=0
E2E_APP_OUT=""
E2E_APP_ERR=""
E2E_SCREEN_W=1280
E2E_SCREEN_H=1024

# Prints a line to the test's log (stderr, so that functions whose stdout is
# captured can still talk).
e2e_log() {
    printf '[%s] %s\n' "$E2E_NAME" "$*" >&2
}

# Reports a failed check and ends the test. The screenshot shows the screen as
# it was at the moment of failure; the program's stderr often says why.
e2e_fail() {
    printf '[%s] FAIL: %s\n' "$E2E_NAME" "$*" >&2
    if [[ -n ${DISPLAY:-} ]] && import -window root "$KX_E2E_OUT/$E2E_NAME-failure.png" 2>/dev/null; then
        printf '[%s] screenshot: %s\n' "$E2E_NAME" "$KX_E2E_OUT/$E2E_NAME-failure.png" >&2
    fi
    if [[ -n $E2E_APP_ERR && -s $E2E_APP_ERR ]]; then
        printf '[%s] last lines of the program'"'"'s stderr (%s):\n' "$E2E_NAME" "$E2E_APP_ERR" >&2
        tail -n 20 "$E2E_APP_ERR" >&2
    fi
    exit 1
}

# Milliseconds of wall-clock time, without starting a process.
_e2e_now_ms() {
    local t=${EPOCHREALTIME//[.,]/}
    _E2E_NOW=$((t / 1000))
}

# Turns a timeout in seconds, possibly with a fraction, into milliseconds.
_e2e_ms() {
    local s=$1 whole frac
    [[ $s =~ ^[0-9]+(\.[0-9]*)?$ ]] || e2e_fail "timeout '$s' is not a number of seconds"
    whole=${s%%.*}
    frac=""
    [[ $s == *.* ]] && frac=${s#*.}
    frac=${frac}000
    _E2E_MS=$((10#$whole * 1000 + 10#${frac:0:3}))
}

# e2e_poll TIMEOUT COMMAND [ARGS...]
# Runs COMMAND until it succeeds (status 0) or TIMEOUT seconds have passed.
# Returns 0 as soon as it succeeds, 1 when the deadline passes. COMMAND runs at
# least once, also with a timeout of 0.
e2e_poll() {
    local timeout=$1
    shift
    _e2e_ms "$timeout"
    _e2e_now_ms
    local deadline=$((_E2E_NOW + _E2E_MS))
    while true; do
        if "$@"; then
            return 0
        fi
        _e2e_now_ms
        if ((_E2E_NOW >= deadline)); then
            return 1
        fi
        sleep 0.1
    done
}

_e2e_require_tools() {
    local tool missing=()
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if ((${#missing[@]} > 0)); then
        e2e_fail "missing tools: ${missing[*]} (scripts/install-deps installs them)"
    fi
}

# Ends one process the test started: politely first, then for good. Only the
# given PID is touched.
_e2e_end_process() {
    local pid=$1
    [[ -n $pid ]] || return 0
    if kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null || true
        if ! e2e_poll 5 _e2e_gone "$pid"; then
            kill -KILL "$pid" 2>/dev/null || true
        fi
    fi
    wait "$pid" 2>/dev/null || true
}

_e2e_gone() {
    ! kill -0 "$1" 2>/dev/null
}

_e2e_cleanup() {
    local status=$?
    _e2e_end_process "$E2E_APP_PID"
    _e2e_end_process "$E2E_WM_PID"
    _e2e_end_process "$E2E_XVFB_PID"
    if [[ -n $E2E_TMP ]]; then
        rm -rf "$E2E_TMP"
    fi
    return "$status"
}

_e2e_display_number_written() {
    [[ -s $E2E_TMP/displayfd ]] && [[ $(<"$E2E_TMP/displayfd") =~ ^[0-9]+$ ]] && return 0
    kill -0 "$E2E_XVFB_PID" 2>/dev/null || e2e_fail "Xvfb ended at start; its log: $(cat "$E2E_TMP/xvfb.log")"
    return 1
}

_e2e_wm_running() {
    local check name
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) || return 1
    [[ $check =~ window\ id\ #\ (0x[0-9a-fA-F]+) ]] || return 1
    name=$(xprop -id "${BASH_REMATCH[1]}" _NET_WM_NAME 2>/dev/null) || return 1
    [[ $name == *'"Openbox"'* ]] && return 0
    kill -0 "$E2E_WM_PID" 2>/dev/null || e2e_fail "openbox ended at start; its log: $(cat "$E2E_TMP/openbox.log")"
    return 1
}

# A configuration of our own, so that nothing of the machine's desktop setup
# changes what the tests see: one desktop, no margins, no key bindings that
# could take the program's Alt shortcuts, and only the mouse bindings that make
# the frame's buttons, title bar and edges work.
# There is no plain button binding in the "Frame" context: openbox grabs such
# a binding on the whole frame and keeps the click from the program.
_e2e_write_openbox_config() {
    cat >"$1" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy><center>yes</center></placement>
  <theme><name>Clearlooks</name><titleLayout>NLIMC</titleLayout><keepBorder>yes</keepBorder></theme>
  <desktops><number>1</number><firstdesk>1</firstdesk><popupTime>0</popupTime></desktops>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <dock><noStrut>yes</noStrut><autoHide>no</autoHide></dock>
  <keyboard><keybind key="A-F4"><action name="Close"/></keybind></keyboard>
  <mouse>
    <dragThreshold>1</dragThreshold>
    <doubleClickTime>500</doubleClickTime>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Right" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
    <context name="Titlebar">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Drag"><action name="Move"/></mousebind>
      <mousebind button="Left" action="DoubleClick"><action name="ToggleMaximize"/></mousebind>
    </context>
    <context name="Top"><mousebind button="Left" action="Drag"><action name="Resize"><edge>top</edge></action></mousebind></context>
    <context name="Left"><mousebind button="Left" action="Drag"><action name="Resize"><edge>left</edge></action></mousebind></context>
    <context name="Right"><mousebind button="Left" action="Drag"><action name="Resize"><edge>right</edge></action></mousebind></context>
    <context name="Bottom"><mousebind button="Left" action="Drag"><action name="Resize"><edge>bottom</edge></action></mousebind></context>
    <context name="TLCorner"><mousebind button="Left" action="Drag"><action name="Resize"/></mousebind></context>
    <context name="TRCorner"><mousebind button="Left" action="Drag"><action name="Resize"/></mousebind></context>
    <context name="BLCorner"><mousebind button="Left" action="Drag"><action name="Resize"/></mousebind></context>
    <context name="BRCorner"><mousebind button="Left" action="Drag"><action name="Resize"/></mousebind></context>
    <context name="Close">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Click"><action name="Close"/></mousebind>
    </context>
    <context name="Maximize">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Click"><action name="ToggleMaximize"/></mousebind>
    </context>
    <context name="Iconify">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
      <mousebind button="Left" action="Click"><action name="Iconify"/></mousebind>
    </context>
  </mouse>
  <menu><file>menu.xml</file></menu>
</openbox_config>
EOF
}

# e2e_start_display
# Starts Xvfb (1280 x 1024, 24 bits, 96 dpi, no TCP) on a display number it
# finds free itself, then openbox with the configuration above; returns once
# openbox manages the screen. Exports DISPLAY (and XDG_RUNTIME_DIR when unset),
# parks the pointer in the bottom-right corner of the screen where it rests on
# no control, and installs the EXIT trap that ends Xvfb, openbox and the
# program.
e2e_start_display() {
    _e2e_require_tools Xvfb openbox xprop xdotool xwininfo import
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kx-e2e.XXXXXX")
    trap _e2e_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN_W}x${E2E_SCREEN_H}x24" -dpi 96 -nolisten tcp \
        3>"$E2E_TMP/displayfd" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    # Qt wants a private runtime folder and complains on every start without
    # one; the test's own keeps the program's output free of that noise.
    if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
        mkdir -m 700 "$E2E_TMP/runtime"
        export XDG_RUNTIME_DIR=$E2E_TMP/runtime
    fi

    e2e_poll 20 _e2e_display_number_written ||
        e2e_fail "Xvfb did not report a display number within 20 s"
    DISPLAY=":$(<"$E2E_TMP/displayfd")"
    export DISPLAY
    e2e_log "Xvfb on $DISPLAY"

    # openbox reads its theme and menu through the XDG folders; pointing the
    # user's ones at our temporary folder keeps a personal setup out.
    mkdir -p "$E2E_TMP/config/openbox"
    _e2e_write_openbox_config "$E2E_TMP/config/openbox/rc.xml"
    XDG_CONFIG_HOME="$E2E_TMP/config" openbox --sm-disable --config-file "$E2E_TMP/config/openbox/rc.xml" \
        >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    e2e_poll 20 _e2e_wm_running || e2e_fail "openbox did not take over the screen within 20 s"

    xdotool mousemove --sync $((E2E_SCREEN_W - 1)) $((E2E_SCREEN_H - 1))
}

# e2e_next_app_files
# Counts one more program for this test and names the files in $KX_E2E_OUT that
# receive its stdout and stderr: sets E2E_APP_OUT and E2E_APP_ERR (named after
# the test, with a "-2" suffix for its second program, and so on) and clears
# E2E_APP_STATUS.
e2e_next_app_files() {
    E2E_APP_COUNT=$((E2E_APP_COUNT + 1))
    local base=$KX_E2E_OUT/$E2E_NAME
    ((E2E_APP_COUNT > 1)) && base+="-$E2E_APP_COUNT"
    E2E_APP_OUT=$base.stdout.txt
    E2E_APP_ERR=$base.stderr.txt
    E2E_APP_STATUS=""
}

# e2e_start_app [ARGS...]
# Starts $KX_BINARY on the X display in the background. Sets E2E_APP_PID, and
# E2E_APP_OUT and E2E_APP_ERR, the files in $KX_E2E_OUT that receive its stdout
# and stderr (named after the test; a second program of the same test gets a
# "-2" suffix, and so on).
e2e_start_app() {
    [[ -n ${KX_BINARY:-} ]] || e2e_fail "KX_BINARY is not set"
    [[ -x $KX_BINARY ]] || e2e_fail "KX_BINARY ($KX_BINARY) is not an executable file"
    [[ -n ${DISPLAY:-} ]] || e2e_fail "e2e_start_app needs e2e_start_display first"
    e2e_next_app_files
    # Scale settings of the calling environment would change every size the
    # tests check, so the program sees the display as it is.
    env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR \
        -u QT_ENABLE_HIGHDPI_SCALING -u QT_FONT_DPI QT_QPA_PLATFORM=xcb \
        "$KX_BINARY" "$@" >"$E2E_APP_OUT" 2>"$E2E_APP_ERR" &
    E2E_APP_PID=$!
    e2e_log "started $KX_BINARY (pid $E2E_APP_PID)"
}

# True while the program started by e2e_start_app runs.
e2e_app_running() {
    [[ -n $E2E_APP_PID ]] && kill -0 "$E2E_APP_PID" 2>/dev/null
}

# Turns a title into an extended regular expression that matches exactly it.
_e2e_title_regex() {
    local title=$1 out="" c i
    for ((i = 0; i < ${#title}; i++)); do
        c=${title:i:1}
        case $c in
            [][.\\\|\$\(\)\{\}\?+*^]) out+="\\$c" ;;
            *) out+=$c ;;
        esac
    done
    printf '^%s$' "$out"
}

# Visible windows whose title is exactly TITLE. xdotool compares names without
# regard to case, so each candidate's name is compared again here.
_e2e_find_windows() {
    local title=$1 wid
    _E2E_FOUND=()
    while read -r wid; do
        [[ -n $wid ]] || continue
        if [[ $(xdotool getwindowname "$wid" 2>/dev/null) == "$title" ]]; then
            _E2E_FOUND+=("$wid")
        fi
    done < <(xdotool search --onlyvisible --name "$(_e2e_title_regex "$title")" 2>/dev/null || true)
}

_e2e_window_present() {
    _e2e_find_windows "$1"
    ((${#_E2E_FOUND[@]} > 0)) && return 0
    if [[ -n $E2E_APP_PID ]] && ! e2e_app_running; then
        # Only the shell that started the program can learn its exit status;
        # inside $(...) the message has to do without it.
        if [[ $BASHPID == "$$" ]]; then
            wait "$E2E_APP_PID" 2>/dev/null && E2E_APP_STATUS=0 || E2E_APP_STATUS=$?
            E2E_APP_PID=""
            e2e_fail "the program ended with status $E2E_APP_STATUS while waiting for the window \"$1\""
        fi
        e2e_fail "the program ended while waiting for the window \"$1\""
    fi
    return 1
}

_e2e_window_absent() {
    _e2e_find_windows "$1"
    ((${#_E2E_FOUND[@]} == 0))
}

# e2e_wait_window TITLE [TIMEOUT=20]
# Waits until a visible window titled exactly TITLE exists and prints its id
# (the first, when there are several). Fails at once when the program ends
# while waiting, and when the deadline passes.
e2e_wait_window() {
    local title=$1 timeout=${2:-20}
    e2e_poll "$timeout" _e2e_window_present "$title" ||
        e2e_fail "no visible window titled \"$title\" within $timeout s"
    printf '%s\n' "${_E2E_FOUND[0]}"
}

# e2e_wait_no_window TITLE [TIMEOUT=20]
# Waits until no visible window is titled exactly TITLE.
e2e_wait_no_window() {
    local title=$1 timeout=${2:-20}
    e2e_poll "$timeout" _e2e_window_absent "$title" ||
        e2e_fail "the window titled \"$title\" is still visible after $timeout s"
}

# e2e_app_windows
# Prints the ids of the program's visible windows, one a line, sorted. Menus
# and other popups are among them, so comparing two lists shows what opened.
e2e_app_windows() {
    [[ -n $E2E_APP_PID ]] || e2e_fail "e2e_app_windows needs a program started by e2e_start_app"
    { xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null || true; } | sort
}

_e2e_new_windows_present() {
    local before=$1 now
    now=$(e2e_app_windows)
    _E2E_NEW=$(comm -13 <(printf '%s\n' "$before" | sort) <(printf '%s\n' "$now") | sed '/^$/d')
    [[ -n $_E2E_NEW ]]
}

# e2e_wait_new_window BEFORE [TIMEOUT=20]
# BEFORE is an earlier output of e2e_app_windows. Waits until the program shows
# a visible window that was not in BEFORE and prints the new ids, one a line.
e2e_wait_new_window() {
    local before=$1 timeout=${2:-20}
    e2e_poll "$timeout" _e2e_new_windows_present "$before" ||
        e2e_fail "the program opened no new window within $timeout s"
    printf '%s\n' "$_E2E_NEW"
}

_e2e_window_hidden() {
    local visible
    visible=$(e2e_app_windows)
    ! grep -qx "$1" <<<"$visible"
}

# e2e_wait_window_gone WID [TIMEOUT=20]
# Waits until the window WID is no longer visible (hidden or destroyed).
e2e_wait_window_gone() {
    local wid=$1 timeout=${2:-20}
    e2e_poll "$timeout" _e2e_window_hidden "$wid" ||
        e2e_fail "window $wid is still visible after $timeout s"
}

# e2e_geometry WID
# Sets, for the top-level window WID:
#   E2E_CLIENT_X, E2E_CLIENT_Y, E2E_CLIENT_W, E2E_CLIENT_H
#       the window's own area on the screen (what the program draws in, menu
#       bar included)
#   E2E_FRAME_LEFT, E2E_FRAME_RIGHT, E2E_FRAME_TOP, E2E_FRAME_BOTTOM
#       the window manager's frame around it (_NET_FRAME_EXTENTS; 0 without)
#   E2E_OUTER_X, E2E_OUTER_Y, E2E_OUTER_W, E2E_OUTER_H
#       the outer frame: position and size including the frame
# and prints them on one line for the test's log.
e2e_geometry() {
    local wid=$1 info line value extents
    info=$(xwininfo -id "$wid" 2>&1) || e2e_fail "xwininfo cannot read window $wid: $info"
    E2E_CLIENT_X="" E2E_CLIENT_Y="" E2E_CLIENT_W="" E2E_CLIENT_H=""
    while IFS= read -r line; do
        value=${line##*:}
        value=${value//[[:space:]]/}
        case $line in
            *"Absolute upper-left X:"*) E2E_CLIENT_X=$value ;;
            *"Absolute upper-left Y:"*) E2E_CLIENT_Y=$value ;;
            *"Width:"*) E2E_CLIENT_W=$value ;;
            *"Height:"*) E2E_CLIENT_H=$value ;;
        esac
    done <<<"$info"
    [[ -n $E2E_CLIENT_X && -n $E2E_CLIENT_Y && -n $E2E_CLIENT_W && -n $E2E_CLIENT_H ]] ||
        e2e_fail "cannot read the geometry of window $wid from: $info"

    E2E_FRAME_LEFT=0 E2E_FRAME_RIGHT=0 E2E_FRAME_TOP=0 E2E_FRAME_BOTTOM=0
    extents=$(xprop -id "$wid" _NET_FRAME_EXTENTS 2>/dev/null || true)
    if [[ $extents =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]]; then
        E2E_FRAME_LEFT=${BASH_REMATCH[1]}
        E2E_FRAME_RIGHT=${BASH_REMATCH[2]}
        E2E_FRAME_TOP=${BASH_REMATCH[3]}
        E2E_FRAME_BOTTOM=${BASH_REMATCH[4]}
    fi
    E2E_OUTER_X=$((E2E_CLIENT_X - E2E_FRAME_LEFT))
    E2E_OUTER_Y=$((E2E_CLIENT_Y - E2E_FRAME_TOP))
    E2E_OUTER_W=$((E2E_CLIENT_W + E2E_FRAME_LEFT + E2E_FRAME_RIGHT))
    E2E_OUTER_H=$((E2E_CLIENT_H + E2E_FRAME_TOP + E2E_FRAME_BOTTOM))
    e2e_log "window $wid: outer ${E2E_OUTER_W}x${E2E_OUTER_H}+${E2E_OUTER_X}+${E2E_OUTER_Y}," \
        "client ${E2E_CLIENT_W}x${E2E_CLIENT_H}+${E2E_CLIENT_X}+${E2E_CLIENT_Y}," \
        "frame left $E2E_FRAME_LEFT right $E2E_FRAME_RIGHT top $E2E_FRAME_TOP bottom $E2E_FRAME_BOTTOM"
}

# e2e_workarea
# Sets E2E_WORK_X, E2E_WORK_Y, E2E_WORK_W, E2E_WORK_H: the part of the screen
# that maximised windows fill, as the window manager announces it.
e2e_workarea() {
    local area
    area=$(xprop -root _NET_WORKAREA 2>/dev/null || true)
    [[ $area =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]] ||
        e2e_fail "the window manager announces no work area: $area"
    E2E_WORK_X=${BASH_REMATCH[1]}
    E2E_WORK_Y=${BASH_REMATCH[2]}
    E2E_WORK_W=${BASH_REMATCH[3]}
    E2E_WORK_H=${BASH_REMATCH[4]}
}

# e2e_window_state WID
# Sets E2E_WINDOW_STATE (the atoms of _NET_WM_STATE, separated by blanks),
# E2E_MAXIMIZED_VERT and E2E_MAXIMIZED_HORZ (1 or 0). Returns 0 when the window
# is maximised both ways, 1 otherwise.
e2e_window_state() {
    local wid=$1 state
    state=$(xprop -id "$wid" _NET_WM_STATE 2>/dev/null || true)
    E2E_WINDOW_STATE=""
    [[ $state == *=* ]] && E2E_WINDOW_STATE=$(tr -d ',' <<<"${state#*= }")
    E2E_MAXIMIZED_VERT=0
    E2E_MAXIMIZED_HORZ=0
    [[ " $E2E_WINDOW_STATE " == *" _NET_WM_STATE_MAXIMIZED_VERT "* ]] && E2E_MAXIMIZED_VERT=1
    [[ " $E2E_WINDOW_STATE " == *" _NET_WM_STATE_MAXIMIZED_HORZ "* ]] && E2E_MAXIMIZED_HORZ=1
    ((E2E_MAXIMIZED_VERT && E2E_MAXIMIZED_HORZ))
}

# e2e_find_board WID
# For the main window WID, sets:
#   E2E_CLIENT_TOP                 the first screen row of its white client area,
#                                  below the menu bar
#   E2E_BOARD_LEFT, E2E_BOARD_TOP  where the 600 x 536 board image sits in client
#                                  coordinates: centred on the window's outer size
#   E2E_BOARD_X, E2E_BOARD_Y       the same point on the screen
# Fails when no white client area shows within 100 rows below the window's top.
e2e_find_board() {
    local wid=$1
    e2e_geometry "$wid"
    local outer_w=$E2E_OUTER_W outer_h=$E2E_OUTER_H left=$E2E_CLIENT_X top=$E2E_CLIENT_Y
    E2E_CLIENT_TOP=""
    e2e_poll 10 _e2e_client_top "$left" "$top" || e2e_fail "no white client area below the menu bar"
    E2E_BOARD_LEFT=$(((outer_w - 600) / 2))
    E2E_BOARD_TOP=$(((outer_h - 536) / 2))
    E2E_BOARD_X=$((left + E2E_BOARD_LEFT))
    E2E_BOARD_Y=$((E2E_CLIENT_TOP + E2E_BOARD_TOP))
    e2e_log "client area from row $E2E_CLIENT_TOP; board image at client ($E2E_BOARD_LEFT, $E2E_BOARD_TOP)," \
        "screen ($E2E_BOARD_X, $E2E_BOARD_Y)"
}

_e2e_client_top() {
    local _x y colour
    while read -r _x y colour; do
        if [[ $colour == "#FFFFFF" ]]; then
            E2E_CLIENT_TOP=$y
            return 0
        fi
    done < <(e2e_pixels $(($1 + 2)) "$2" 1 100)
    return 1
}

# e2e_start_board
# Starts the display and the program, waits for the main window to be
# maximised, and closes the help window that opens by itself over the board
# (as its close box would: Esc would start the guided tour). Sets E2E_MAIN,
# the main window's id, and everything e2e_find_board sets.
e2e_start_board() {
    e2e_start_display
    e2e_start_app
    e2e_await_board
}

# e2e_await_board
# The part of e2e_start_board after the program started: waits for the main
# window to be maximised, closes the help window and finds the board.
e2e_await_board() {
    E2E_MAIN=$(e2e_wait_window "Setup")
    e2e_poll 10 e2e_window_state "$E2E_MAIN" || e2e_fail "the main window is not maximised"
    local help
    help=$(e2e_wait_window "Instructions for Settings utility")
    e2e_close "$help"
    e2e_wait_no_window "Instructions for Settings utility" 10
    e2e_find_board "$E2E_MAIN"
}

# e2e_close WID
# Closes the window WID as its close box would (the window manager asks the
# program to close it), through the keyboard shortcut Alt+F4.
e2e_close() {
    local wid=$1
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || e2e_fail "cannot activate window $wid"
    xdotool key --clearmodifiers alt+F4 || e2e_fail "could not close window $wid"
}

# e2e_screenshot NAME
# Saves the whole screen as $KX_E2E_OUT/NAME.png and prints the file's path.
e2e_screenshot() {
    local file=$KX_E2E_OUT/$1.png
    import -window root "$file" || e2e_fail "could not take the screenshot $file"
    printf '%s\n' "$file"
}

# e2e_pixel X Y
# Prints the colour of the screen pixel at (X, Y) as #RRGGBB, upper case.
e2e_pixel() {
    local x=$1 y=$2 out
    out=$(import -window root -crop "1x1+$x+$y" -depth 8 txt:- 2>&1) ||
        e2e_fail "could not read the pixel ($x, $y): $out"
    [[ $out =~ \#([0-9A-Fa-f]{6}) ]] || e2e_fail "unexpected pixel dump for ($x, $y): $out"
    printf '#%s\n' "${BASH_REMATCH[1]^^}"
}

# e2e_pixels X Y W H
# Prints the colours of the W x H screen pixels whose top-left one is (X, Y),
# one "X Y #RRGGBB" line per pixel in screen coordinates, row by row. One grab
# serves them all, so scanning a line costs no more than reading one pixel.
e2e_pixels() {
    local x=$1 y=$2 w=$3 h=$4 out line
    out=$(import -window root -crop "${w}x${h}+$x+$y" -depth 8 txt:- 2>&1) ||
        e2e_fail "could not read the pixels ${w}x${h}+$x+$y: $out"
    while IFS= read -r line; do
        [[ $line == \#* ]] && continue
        [[ $line =~ ^([0-9]+),([0-9]+):.*\#([0-9A-Fa-f]{6}) ]] ||
            e2e_fail "unexpected pixel dump line for ${w}x${h}+$x+$y: $line"
        printf '%d %d #%s\n' $((x + BASH_REMATCH[1])) $((y + BASH_REMATCH[2])) "${BASH_REMATCH[3]^^}"
    done <<<"$out"
}

_e2e_app_ended() {
    e2e_app_running && return 1
    wait "$E2E_APP_PID" 2>/dev/null && E2E_APP_STATUS=0 || E2E_APP_STATUS=$?
    return 0
}

# e2e_wait_exit [TIMEOUT=20]
# Waits for the program started by e2e_start_app to end, sets E2E_APP_STATUS
# and returns it as its own status, so a test writes
#   e2e_wait_exit || status=$?
# Fails when the program still runs at the deadline.
e2e_wait_exit() {
    local timeout=${1:-20}
    [[ -n $E2E_APP_PID ]] || e2e_fail "e2e_wait_exit needs a program started by e2e_start_app"
    e2e_poll "$timeout" _e2e_app_ended || e2e_fail "the program still runs after $timeout s"
    E2E_APP_PID=""
    e2e_log "the program ended with status $E2E_APP_STATUS"
    return "$E2E_APP_STATUS"
}

# e2e_key WID KEY...
# Gives WID the keyboard focus and types the keys (xdotool names, such as
# "alt+f", "Escape", "Down", "Return"). They go through the XTEST extension,
# so the program sees them as if typed on a keyboard; keys sent straight to a
# window would be marked as synthetic, and the send fails when a key closes
# the window before its release is delivered.
e2e_key() {
    local wid=$1
    shift
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || e2e_fail "cannot activate window $wid"
    xdotool key --clearmodifiers "$@" || e2e_fail "could not type $* into window $wid"
}
