#!/usr/bin/env bash
# The program on a screen of device pixel ratio 2 (Qt scaling by 2 on a
# 2560 x 2048 screen): hovering the "External Power" ring opens the power
# popup, and its drawn jumper is rendered at the screen's resolution. Its
# edges are sharp: the cap's outline is exactly two device pixels of black
# between the grey base and the dark red cap, and the whole jumper shows only
# its own five colours, no blend of two.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=SCRIPTDIR/lib_hidpi.sh
source "$(dirname "$0")/lib_hidpi.sh"

# Logical positions from the board description, as in test_power_jumper.sh.
readonly RING_X=$((31 + 56 / 2)) RING_Y=$((288 + 39 / 2))
readonly JUMPER_X=36 JUMPER_Y=32 JUMPER_W=43 JUMPER_H=18

e2e_start_display
e2e_start_app_scaled
E2E_MAIN=$(e2e_wait_window "Setup")
e2e_poll 10 e2e_window_state "$E2E_MAIN" || e2e_fail "the main window is not maximised"
help=$(e2e_wait_window "Instructions for Settings utility")
e2e_close "$help"
e2e_wait_no_window "Instructions for Settings utility" 10
e2e_find_board_scaled "$E2E_MAIN"

xdotool mousemove --sync $((E2E_BOARD_X + E2E_RATIO * RING_X)) $((E2E_BOARD_Y + E2E_RATIO * RING_Y))
popup=$(e2e_wait_window "External Power" 10)
e2e_geometry "$popup"
jumper_x=$((E2E_CLIENT_X + E2E_RATIO * JUMPER_X)) jumper_y=$((E2E_CLIENT_Y + E2E_RATIO * JUMPER_Y))
jumper_w=$((E2E_RATIO * JUMPER_W)) jumper_h=$((E2E_RATIO * JUMPER_H))

# The board starts with the cap on the right pair of pins: Rectangle(15, 0,
# 43, 18) at twice the size puts its left outline on device columns 29 and 30,
# the grey base at 28 and the cap's inside from 31. Row 10 lies above the pins.
row_at() {
    local expected=$1 got
    got=$(e2e_pixels $((jumper_x + 27)) $((jumper_y + 10)) 6 1 | awk '{print $3}' | tr '\n' ' ')
    [[ $got == "$expected" ]]
}
readonly EDGE="#808080 #808080 #000000 #000000 #800000 #800000 "
e2e_poll 10 row_at "$EDGE" ||
    e2e_fail "the cap's left edge is not two device pixels of black between base and cap: $(
        e2e_pixels $((jumper_x + 27)) $((jumper_y + 10)) 6 1 | awk '{print $3}' | tr '\n' ' ')"
shot=$(e2e_screenshot high-density-power-popup)
convert "$shot" -crop "$((jumper_w + 8))x$((jumper_h + 8))+$((jumper_x - 4))+$((jumper_y - 4))" +repage \
    -scale 800% "$KX_E2E_OUT/high-density-jumper-zoomed.png" || e2e_fail "could not cut out the jumper"

# Every pixel of the jumper is the panel's face, black, the base's grey, the
# cap's dark red or the pins' yellow.
face=$(e2e_pixel "$jumper_x" "$jumper_y")
colours=$(e2e_pixels "$jumper_x" "$jumper_y" "$jumper_w" "$jumper_h" | awk '{print $3}' | sort -u)
for colour in $colours; do
    case $colour in
        "$face" | "#000000" | "#808080" | "#800000" | "#FFFF00") ;;
        *) e2e_fail "the jumper shows $colour, a blend of its colours (all: $(tr '\n' ' ' <<<"$colours"))" ;;
    esac
done
[[ $(wc -l <<<"$colours") -eq 5 ]] || e2e_fail "the jumper does not show all of its five colours: $colours"

# The first pin is the 12 x 12 ellipse of the doubled box (14, 12)-(26, 24),
# not the single-size 6 x 6 ellipse blown up: in a blown-up picture every
# even row equals the odd row below it, while the true ellipse widens from
# four pixels in its top row to eight in the next.
pin_rows=$(e2e_pixels $((jumper_x + 14)) $((jumper_y + 12)) 12 12 | awk '{print $3}' | paste -sd' ' |
    fold -w $((12 * 8)))
pairs=1
mapfile -t rows <<<"$pin_rows"
for ((i = 0; i + 1 < ${#rows[@]}; i += 2)); do
    [[ ${rows[i]} == "${rows[i + 1]}" ]] || pairs=0
done
((pairs == 0)) || e2e_fail "the pins are blown-up single-size pixels: every row pair is the same"
e2e_log "screenshot: $shot"
