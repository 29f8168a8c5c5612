# Helpers for running the program on a screen of device pixel ratio 2.
# shellcheck shell=bash
# Source after lib.sh. The screen is twice the usual size in each direction,
# so that the program sees the same logical screen as in the other tests.

E2E_SCREEN_W=2560
E2E_SCREEN_H=2048
readonly E2E_RATIO=2

# e2e_start_app_scaled [ARGS...]
# Like e2e_start_app, with Qt told to scale by E2E_RATIO.
e2e_start_app_scaled() {
    [[ -x ${KX_BINARY:-} ]] || e2e_fail "KX_BINARY (${KX_BINARY:-unset}) is not an executable file"
    [[ -n ${DISPLAY:-} ]] || e2e_fail "e2e_start_app_scaled needs e2e_start_display first"
    e2e_next_app_files
    env -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR -u QT_ENABLE_HIGHDPI_SCALING -u QT_FONT_DPI \
        QT_SCALE_FACTOR=$E2E_RATIO QT_QPA_PLATFORM=xcb "$KX_BINARY" "$@" >"$E2E_APP_OUT" 2>"$E2E_APP_ERR" &
    E2E_APP_PID=$!
    e2e_log "started $KX_BINARY at scale $E2E_RATIO (pid $E2E_APP_PID)"
}

# e2e_find_board_scaled WID
# e2e_find_board for a program scaled by E2E_RATIO: the board image is
# centred on the window's logical outer size, and E2E_BOARD_X, E2E_BOARD_Y are
# its top-left corner in screen (device) pixels.
e2e_find_board_scaled() {
    local wid=$1
    e2e_geometry "$wid"
    local outer_w=$((E2E_OUTER_W / E2E_RATIO)) outer_h=$((E2E_OUTER_H / E2E_RATIO))
    local left=$E2E_CLIENT_X top=$E2E_CLIENT_Y
    E2E_CLIENT_TOP=""
    e2e_poll 10 _e2e_client_top "$left" "$top" || e2e_fail "no white client area below the menu bar"
    E2E_BOARD_LEFT=$(((outer_w - 600) / 2))
    E2E_BOARD_TOP=$(((outer_h - 536) / 2))
    E2E_BOARD_X=$((left + E2E_RATIO * E2E_BOARD_LEFT))
    E2E_BOARD_Y=$((E2E_CLIENT_TOP + E2E_RATIO * E2E_BOARD_TOP))
    e2e_log "board image at logical client ($E2E_BOARD_LEFT, $E2E_BOARD_TOP), screen ($E2E_BOARD_X, $E2E_BOARD_Y)"
}
