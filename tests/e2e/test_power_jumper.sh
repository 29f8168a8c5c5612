#!/usr/bin/env bash
# The power jumper with the real pointer: hovering the "External Power" ring
# opens the power popup; moving straight into the popup keeps it open; a click
# on the drawn jumper moves its cap from the right pair of pins to the left
# pair, and "External Powered" becomes the checked radio button.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"

readonly CAP="#800000"
readonly BASE="#808080"
# From the board description: the power-selection ring covers (31, 288)
# 56 x 39 of the photograph; inside the power panel the jumper lies at
# (36, 32), 43 x 18, and the radio buttons "USB Powered" and "External
# Powered" at (8, 56) and (8, 72), 121 x 17.
readonly RING_X=$((31 + 56 / 2)) RING_Y=$((288 + 39 / 2))
readonly JUMPER_X=36 JUMPER_Y=32 JUMPER_W=43 JUMPER_H=18
readonly USB_RADIO_Y=56 EXT_RADIO_Y=72 RADIO_X=8
# The cap's inside shows at the left end of the jumper for the left pair and
# at the right end for the right pair; (5, 5) and (35, 5) lie inside the cap
# in one position and on the grey base in the other.
readonly LEFT_END_X=5 RIGHT_END_X=35 END_Y=5

e2e_start_board
board_x=$E2E_BOARD_X board_y=$E2E_BOARD_Y

xdotool mousemove --sync $((board_x + RING_X)) $((board_y + RING_Y))
popup=$(e2e_wait_window "External Power" 10)
e2e_geometry "$popup"
panel_x=$E2E_CLIENT_X panel_y=$E2E_CLIENT_Y
jumper_x=$((panel_x + JUMPER_X)) jumper_y=$((panel_y + JUMPER_Y))

# The pointer jumps from the ring straight into the popup, onto the jumper's
# middle: leaving the ring with the pointer inside the popup keeps it open.
xdotool mousemove --sync $((jumper_x + JUMPER_W / 2)) $((jumper_y + JUMPER_H / 2))

cap_at() {
    [[ $(e2e_pixel $((jumper_x + LEFT_END_X)) $((jumper_y + END_Y))) == "$1" ]] &&
        [[ $(e2e_pixel $((jumper_x + RIGHT_END_X)) $((jumper_y + END_Y))) == "$2" ]]
}
e2e_poll 10 cap_at "$BASE" "$CAP" || e2e_fail "the jumper does not show its cap on the right pair at start"
before=$(e2e_screenshot power-popup-before-click)

# The indicator of each radio button: the left 16 x 17 pixels of its box.
indicator() {
    import -window root -crop "16x17+$((panel_x + RADIO_X))+$((panel_y + $1))" -depth 8 txt:- |
        grep -v '^#' | sed 's/^[0-9]*,[0-9]*: //'
}
usb_checked_look=$(indicator "$USB_RADIO_Y")
ext_unchecked_look=$(indicator "$EXT_RADIO_Y")
[[ $usb_checked_look != "$ext_unchecked_look" ]] ||
    e2e_fail "the checked and the unchecked radio button look the same"

xdotool click 1
e2e_poll 10 cap_at "$CAP" "$BASE" || e2e_fail "the cap did not move to the left pair after the click"
e2e_wait_window "External Power" 2 >/dev/null

radios_swapped() {
    [[ $(indicator "$EXT_RADIO_Y") == "$usb_checked_look" ]] &&
        [[ $(indicator "$USB_RADIO_Y") == "$ext_unchecked_look" ]]
}
e2e_poll 10 radios_swapped || e2e_fail "\"External Powered\" does not look checked, or \"USB Powered\" still does"
after=$(e2e_screenshot power-popup-after-click)
e2e_log "before: $before; after: $after"

# A second click brings the cap back to the right pair and "USB Powered"
# with it. It lands near the jumper's left end, 18 pixels from the first, so
# that however soon it follows, it is no double-click.
xdotool mousemove --sync $((jumper_x + 3)) $((jumper_y + JUMPER_H / 2))
xdotool click 1
e2e_poll 10 cap_at "$BASE" "$CAP" || e2e_fail "the cap did not come back to the right pair"
radios_back() {
    [[ $(indicator "$USB_RADIO_Y") == "$usb_checked_look" ]] &&
        [[ $(indicator "$EXT_RADIO_Y") == "$ext_unchecked_look" ]]
}
e2e_poll 10 radios_back || e2e_fail "\"USB Powered\" is not checked again after the second click"
e2e_screenshot power-popup-second-click >/dev/null
