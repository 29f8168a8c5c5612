#!/usr/bin/env bash
# The main window as a user first meets it: titled "Setup", maximised over the
# work area, the board photograph centred, File and Help menus that open from
# the keyboard, and "Exit" ending the program with status 0.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"

readonly PHOTO_W=600
readonly PHOTO_H=536
readonly WHITE="#FFFFFF"

e2e_start_display
e2e_start_app
wid=$(e2e_wait_window "Setup")

# The window manager maximises after mapping, so the state is polled.
e2e_poll 10 e2e_window_state "$wid" ||
    e2e_fail "the main window is not maximised; _NET_WM_STATE is \"$E2E_WINDOW_STATE\""

# A maximised window fills the work area exactly; a few pixels of slack
# allow for a frame the theme might keep around maximised windows.
fills_work_area() {
    e2e_geometry "$wid"
    local d
    for d in $((E2E_OUTER_X - E2E_WORK_X)) $((E2E_OUTER_Y - E2E_WORK_Y)) \
        $((E2E_OUTER_W - E2E_WORK_W)) $((E2E_OUTER_H - E2E_WORK_H)); do
        ((d >= -2 && d <= 2)) || return 1
    done
}
e2e_workarea
e2e_poll 10 fills_work_area ||
    e2e_fail "the main window's frame ${E2E_OUTER_W}x${E2E_OUTER_H}+${E2E_OUTER_X}+${E2E_OUTER_Y}" \
        "does not fill the work area ${E2E_WORK_W}x${E2E_WORK_H}+${E2E_WORK_X}+${E2E_WORK_Y}"

# The menu bar sits at the top of the window, outside the client area, and the
# client area is white. The photograph is centred by the window's outer size
# but positioned in client coordinates, so it sits lower and further right
# than the middle of the client area by half of the frame and the menu bar.
e2e_find_board "$wid"
e2e_log "menu bar height $((E2E_CLIENT_TOP - E2E_CLIENT_Y))"
photo_x=$E2E_BOARD_X
photo_y=$E2E_BOARD_Y
e2e_log "expecting the photograph at (${photo_x}, ${photo_y})"

mismatch=""
photo_in_place() {
    local right=$((photo_x + PHOTO_W - 1)) bottom=$((photo_y + PHOTO_H - 1))
    local middle_x=$((photo_x + PHOTO_W / 2)) middle_y=$((photo_y + PHOTO_H / 2))
    local -a inside=(
        "$((photo_x + 1)) $((photo_y + 1))"
        "$((right - 1)) $((photo_y + 1))"
        "$((photo_x + 1)) $((bottom - 1))"
        "$((right - 1)) $((bottom - 1))"
    )
    local -a outside=(
        "$((photo_x - 1)) $((photo_y + 1))"
        "$((photo_x - 1)) $middle_y"
        "$((photo_x - 1)) $((bottom - 1))"
        "$((right + 1)) $((photo_y + 1))"
        "$((right + 1)) $middle_y"
        "$((right + 1)) $((bottom - 1))"
        "$middle_x $((photo_y - 1))"
        "$middle_x $((bottom + 1))"
    )
    local point x y colour
    mismatch=""
    for point in "${inside[@]}"; do
        read -r x y <<<"$point"
        colour=$(e2e_pixel "$x" "$y")
        [[ $colour != "$WHITE" ]] || mismatch+=" ($x, $y) is white inside the photograph;"
    done
    for point in "${outside[@]}"; do
        read -r x y <<<"$point"
        colour=$(e2e_pixel "$x" "$y")
        [[ $colour == "$WHITE" ]] || mismatch+=" ($x, $y) is $colour outside the photograph;"
    done
    [[ -z $mismatch ]]
}
e2e_poll 10 photo_in_place || e2e_fail "the photograph is not where expected:$mismatch"
e2e_screenshot main-window >/dev/null

# The help window opens on its own shortly after start and takes the focus.
# Waiting for it keeps it from taking the focus between the keys below.
e2e_wait_window "Instructions for Settings utility" >/dev/null

# Each menu opens as a popup window of the program on its accelerator key and
# closes again on Escape.
for menu in f:File h:Help; do
    key=${menu%%:*}
    name=${menu#*:}
    before=$(e2e_app_windows)
    e2e_key "$wid" "alt+$key"
    popup=$(e2e_wait_new_window "$before" 10)
    e2e_screenshot "main-window-${name,,}-menu" >/dev/null
    e2e_key "$wid" Escape
    e2e_wait_window_gone "$popup" 10
done

before=$(e2e_app_windows)
e2e_key "$wid" alt+f
e2e_wait_new_window "$before" 10 >/dev/null
e2e_key "$wid" e
status=0
e2e_wait_exit 20 || status=$?
((status == 0)) || e2e_fail "File > Exit ended the program with status $status"
