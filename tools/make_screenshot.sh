#!/usr/bin/env bash
# Makes the README's screenshot, docs/screenshot.png: the program under its
# own Xvfb and openbox, the pointer on the power-selection ring so that the
# "External Power" popup with its drawn jumper is open, cropped to the main
# window.
#
#   tools/make_screenshot.sh [BINARY [OUTPUT]]
#
# BINARY defaults to $KX_BINARY, then to build/src/app/kx7040-setup; OUTPUT to
# docs/screenshot.png in the source tree.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
KX_BINARY=${1:-${KX_BINARY:-$root/build/src/app/kx7040-setup}}
output=${2:-$root/docs/screenshot.png}
export KX_BINARY
KX_E2E_OUT=$(mktemp -d "${TMPDIR:-/tmp}/kx-screenshot.XXXXXX")
export KX_E2E_OUT
case $output in /*) ;; *) output=$PWD/$output ;; esac

# shellcheck source=SCRIPTDIR/../tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

# From the board description: the power-selection ring covers (31, 288)
# 56 x 39 of the photograph.
readonly RING_X=$((31 + 56 / 2)) RING_Y=$((288 + 39 / 2))

# A screen of the size many laptops have keeps the maximised window compact
# around the board.
# shellcheck disable=SC2034  # read by e2e_start_display
E2E_SCREEN_W=1024
# shellcheck disable=SC2034
E2E_SCREEN_H=768
e2e_start_board
xdotool mousemove --sync $((E2E_BOARD_X + RING_X)) $((E2E_BOARD_Y + RING_Y))
popup=$(e2e_wait_window "External Power" 10)
e2e_geometry "$popup"

# The popup paints after it maps: wait for the jumper's cap, dark red, on its
# right pair of pins (the jumper lies at (36, 32) in the popup).
cap_shown() {
    [[ $(e2e_pixel $((E2E_CLIENT_X + 36 + 35)) $((E2E_CLIENT_Y + 32 + 5))) == "#800000" ]]
}
e2e_poll 10 cap_shown || e2e_fail "the power popup does not show its jumper"
shot=$(e2e_screenshot screenshot-full)

# The whole main window, title bar included, with the popup over it; 256
# colours keep the file small and show no visible loss on this picture.
e2e_geometry "$E2E_MAIN"
mkdir -p "$(dirname "$output")"
convert "$shot" -crop "${E2E_OUTER_W}x${E2E_OUTER_H}+$E2E_OUTER_X+$E2E_OUTER_Y" +repage \
    -dither FloydSteinberg -colors 256 -strip -define png:compression-level=9 "$output"
e2e_log "wrote $output ($(identify -format '%wx%h' "$output"), $(stat -c %s "$output") bytes)"
rm -rf "$KX_E2E_OUT"
