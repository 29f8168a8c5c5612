#!/usr/bin/env bash
# The rings over the photograph with the real pointer: moving onto the
# "Filter Jumpers" ring opens its popup where the filter panel was designed,
# shifted with the centred board; moving away closes it; a click pins it.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"

# From the board description: the board image was designed at (200, 32), the
# filter panel at (752, 152), and the filter ring covers (309, 229) 269 x 47 of
# the photograph.
readonly DESIGN_LEFT=200 DESIGN_TOP=32 PANEL_LEFT=752 PANEL_TOP=152
readonly RING_X=$((309 + 269 / 2)) RING_Y=$((229 + 47 / 2))

e2e_start_board
board_left=$E2E_BOARD_LEFT board_top=$E2E_BOARD_TOP board_x=$E2E_BOARD_X board_y=$E2E_BOARD_Y
main_x=$E2E_CLIENT_X client_top=$E2E_CLIENT_TOP

# Onto the ring: its popup opens at the panel's designed place plus the
# board's movement, in screen coordinates as they are.
xdotool mousemove --sync $((board_x + RING_X)) $((board_y + RING_Y))
popup=$(e2e_wait_window "Filter Jumpers" 10)
expected_x=$((board_left - (DESIGN_LEFT - PANEL_LEFT)))
expected_y=$((board_top - (DESIGN_TOP - PANEL_TOP)))
placed_right() {
    e2e_geometry "$popup"
    ((E2E_OUTER_X == expected_x && E2E_OUTER_Y == expected_y))
}
e2e_poll 10 placed_right ||
    e2e_fail "the popup's frame is at (${E2E_OUTER_X}, ${E2E_OUTER_Y}), expected (${expected_x}, ${expected_y})"
e2e_screenshot hover-filter-ring >/dev/null

# While its popup is the active window the ring wears its strongest look,
# with a white line along radius 0.875: on the horizontal axis that is column
# 17 of the 269 pixel wide ring, nearly white whatever the photograph is.
white_core() {
    local colour
    colour=$(e2e_pixel $((board_x + 309 + 17)) $((board_y + RING_Y)))
    ((16#${colour:1:2} >= 240 && 16#${colour:3:2} >= 240 && 16#${colour:5:2} >= 230))
}
e2e_poll 10 white_core || e2e_fail "the filter ring does not show its active look"

# Away from the ring (onto the white client area): the popup closes.
xdotool mousemove --sync $((main_x + 20)) $((client_top + 300))
e2e_wait_no_window "Filter Jumpers" 10

# Back onto the ring and a click: the popup is pinned and stays when the
# pointer leaves.
xdotool mousemove --sync $((board_x + RING_X)) $((board_y + RING_Y))
popup=$(e2e_wait_window "Filter Jumpers" 10)
# The window manager is busy mapping and focusing the popup for a moment;
# click once the popup has become the active window.
popup_active() { [[ $(xdotool getactivewindow 2>/dev/null) == "$popup" ]]; }
e2e_poll 10 popup_active || e2e_fail "the popup did not become the active window"
xdotool click 1
xdotool mousemove --sync $((main_x + 20)) $((client_top + 300))
if e2e_poll 2 _e2e_window_hidden "$popup"; then
    e2e_fail "the pinned popup closed when the pointer left its ring"
fi
e2e_wait_window "Filter Jumpers" 5 >/dev/null
e2e_screenshot pinned-filter-popup >/dev/null
