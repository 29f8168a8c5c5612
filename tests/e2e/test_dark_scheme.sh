#!/usr/bin/env bash
# The program under a dark desktop colour scheme (qt6ct's "darker", Fusion
# style): the power popup takes the desktop's dark colours, and its radio
# captions, its jumper labels and its text all read at 4.5:1 or better on
# what lies behind them, as the screen shows them.
# shellcheck shell=bash
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=SCRIPTDIR/lib_contrast.sh
source "$(dirname "$0")/lib_contrast.sh"

readonly SCHEME=/usr/share/qt6ct/colors/darker.conf
# From the board description: the power-selection ring covers (31, 288)
# 56 x 39 of the photograph; inside the power panel the labels "VEXT" and
# "VUSB" lie at (0, 16) and (64, 16), 49 x 17, and the radio buttons "USB
# Powered" and "External Powered" at (8, 56) and (8, 72), 121 x 17, their
# captions right of a 20-pixel indicator. The panel is 97 pixels high; the
# popup's text lies below it.
readonly RING_X=$((31 + 56 / 2)) RING_Y=$((288 + 39 / 2))
readonly RADIO_X=8 RADIO_W=121 RADIO_H=17 USB_RADIO_Y=56 EXT_RADIO_Y=72 CAPTION_SKIP=20
readonly LABEL_W=49 LABEL_H=17 LABEL_Y=16 VEXT_X=0 VUSB_X=64
readonly PANEL_H=97

e2e_start_display
e2e_use_qt6ct_scheme "$SCHEME"
e2e_start_app
E2E_MAIN=$(e2e_wait_window "Setup")
e2e_poll 10 e2e_window_state "$E2E_MAIN" || e2e_fail "the main window is not maximised"
help=$(e2e_wait_window "Instructions for Settings utility")
e2e_geometry "$help"
e2e_screenshot dark-scheme-help >/dev/null
e2e_close "$help"
e2e_wait_no_window "Instructions for Settings utility" 10
e2e_find_board "$E2E_MAIN"

xdotool mousemove --sync $((E2E_BOARD_X + RING_X)) $((E2E_BOARD_Y + RING_Y))
popup=$(e2e_wait_window "External Power" 10)
e2e_geometry "$popup"
panel_x=$E2E_CLIENT_X panel_y=$E2E_CLIENT_Y popup_w=$E2E_CLIENT_W

# The popup is drawn once it shows; wait until its panel is no longer blank.
panel_drawn() {
    e2e_contrast $((panel_x + RADIO_X + CAPTION_SKIP)) $((panel_y + USB_RADIO_Y)) \
        $((RADIO_W - CAPTION_SKIP)) "$RADIO_H"
    [[ $E2E_CONTRAST != 1.00 ]]
}
e2e_poll 10 panel_drawn || e2e_fail "the power popup's radio buttons show no caption"
shot=$(e2e_screenshot dark-scheme-power-popup)
e2e_log "screenshot: $shot"

# check NAME X Y W H: the text inside reads at 4.5:1 at least.
check() {
    local name=$1
    e2e_contrast "$2" "$3" "$4" "$5"
    e2e_log "$name: $E2E_TEXT on $E2E_BACKGROUND, contrast $E2E_CONTRAST"
    awk -v c="$E2E_CONTRAST" 'BEGIN { exit !(c >= 4.5) }' ||
        e2e_fail "$name is $E2E_TEXT on $E2E_BACKGROUND, contrast $E2E_CONTRAST (below 4.5)"
}

check '"USB Powered"' $((panel_x + RADIO_X + CAPTION_SKIP)) $((panel_y + USB_RADIO_Y)) \
    $((RADIO_W - CAPTION_SKIP)) "$RADIO_H"
# The scheme took effect: the panel behind the captions is dark, as the
# scheme's window colour is.
awk -v l="$E2E_BACKGROUND_LUMINANCE" 'BEGIN { exit !(l < 0.2) }' ||
    e2e_fail "the power panel is $E2E_BACKGROUND, not dark: the colour scheme did not reach the program"
check '"External Powered"' $((panel_x + RADIO_X + CAPTION_SKIP)) $((panel_y + EXT_RADIO_Y)) \
    $((RADIO_W - CAPTION_SKIP)) "$RADIO_H"
check '"VEXT"' $((panel_x + VEXT_X)) $((panel_y + LABEL_Y)) "$LABEL_W" "$LABEL_H"
check '"VUSB"' $((panel_x + VUSB_X)) $((panel_y + LABEL_Y)) "$LABEL_W" "$LABEL_H"
# The first lines of the popup's text, inside the memo's frame.
check "the popup's text" $((panel_x + 10)) $((panel_y + PANEL_H + 4)) $((popup_w - 40)) 30
