#!/usr/bin/env bash
# The board from the keyboard alone, checked over the accessibility bus: Tab
# reaches the board and marks a ring group, the arrow keys visit the groups
# in menu order, Enter opens and pins a group's popup with the focus on its
# panel, Tab reaches Done, Space closes the popup and the focus comes back to
# the group. In the power popup the arrow keys move between the radio
# buttons and the jumper follows. The pointer stays parked in the corner
# where e2e_start_display put it: no pointer moves at all.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=SCRIPTDIR/lib_atspi.sh
source "$(dirname "$0")/lib_atspi.sh"

# The order of the menus: Settings, then Options, each in its entries' order.
readonly RING_GROUPS=("External Power" "Filter Jumpers" "USB Connector" "LED" "Input Header")

e2e_atspi_start_board
xdotool windowactivate --sync "$E2E_MAIN" >/dev/null 2>&1 || e2e_fail "cannot activate the main window"

focused_ring() {
    local f
    f=$(e2e_atspi focused 2>/dev/null) || return 1
    [[ $f == "push button|"* ]] || return 1
    FOCUSED_RING=${f#push button|}
}

# Tab until a ring group has the focus (the board is a single focus stop).
reached=0
for _ in 1 2 3 4; do
    xdotool key Tab
    if e2e_poll 3 focused_ring; then
        reached=1
        break
    fi
done
((reached)) || e2e_fail "Tab did not bring the focus to a ring group (focus: $(e2e_atspi focused))"
e2e_screenshot "$E2E_NAME-focus-mark" >/dev/null

index_of() {
    local i
    for i in "${!RING_GROUPS[@]}"; do
        [[ ${RING_GROUPS[$i]} == "$1" ]] && { echo "$i"; return 0; }
    done
    return 1
}
start=$(index_of "$FOCUSED_RING") || e2e_fail "the focused ring '$FOCUSED_RING' is not one of the five groups"

# Right visits every group once, in menu order, and wraps; Left goes back.
ring_is() { focused_ring && [[ $FOCUSED_RING == "$1" ]]; }
for step in 1 2 3 4 5; do
    expected=${RING_GROUPS[$(((start + step) % 5))]}
    xdotool key Right
    e2e_poll 5 ring_is "$expected" || e2e_fail "Right step $step: focus on '${FOCUSED_RING:-?}', expected '$expected'"
done
xdotool key Left
e2e_poll 5 ring_is "${RING_GROUPS[$(((start + 4) % 5))]}" || e2e_fail "Left did not go back to the previous group"
xdotool key Right

# Open, close and come back to each group with the keyboard.
current=$start
for i in 0 1 2 3 4; do
    target=$(((start + i) % 5))
    while ((current != target)); do
        xdotool key Right
        current=$(((current + 1) % 5))
    done
    title=${RING_GROUPS[$target]}
    e2e_poll 5 ring_is "$title" || e2e_fail "the focus is not on '$title' before Enter"
    xdotool key Return
    e2e_wait_window "$title" 10 >/dev/null
    # The popup is announced: the focus is on its panel, which carries the
    # popup's title.
    e2e_poll 10 e2e_atspi_focused_is "panel" "$title" ||
        e2e_fail "the '$title' popup opened with the focus on '$(e2e_atspi focused)'"
    e2e_poll 5 e2e_atspi_has_state "push button" "$title" checked ||
        e2e_fail "the '$title' group is not checked while its popup is pinned"

    if [[ $title == "External Power" ]]; then
        # Tab to the checked radio button; Down selects the other one and the
        # jumper follows; Up comes back.
        for _ in 1 2 3; do
            xdotool key Tab
            e2e_poll 3 e2e_atspi_focused_is "radio button" "USB Powered" && break
        done
        e2e_atspi_focused_is "radio button" "USB Powered" ||
            e2e_fail "Tab did not reach the checked radio button (focus: $(e2e_atspi focused))"
        xdotool key Down
        e2e_poll 5 e2e_atspi_focused_is "radio button" "External Powered" ||
            e2e_fail "Down did not move to External Powered"
        e2e_poll 5 e2e_atspi_has_state "radio button" "External Powered" checked ||
            e2e_fail "Down did not select External Powered"
        jumper_says() { [[ $(e2e_atspi describe "push button" "VEXT/VUSB jumper") == "$1" ]]; }
        e2e_poll 5 jumper_says "cap on pins 1 and 2, VEXT side" || e2e_fail "the jumper did not follow Down"
        xdotool key Up
        e2e_poll 5 e2e_atspi_has_state "radio button" "USB Powered" checked || e2e_fail "Up did not select USB Powered"
        e2e_poll 5 jumper_says "cap on pins 2 and 3, VUSB side" || e2e_fail "the jumper did not follow Up"
    fi

    done_focused=0
    for _ in 1 2 3 4 5 6 7 8; do
        xdotool key Tab
        if e2e_poll 3 e2e_atspi_focused_is "push button" "Done"; then
            done_focused=1
            break
        fi
    done
    ((done_focused)) || e2e_fail "Tab did not reach Done in the '$title' popup"
    xdotool key space
    e2e_wait_no_window "$title" 10
    e2e_poll 10 ring_is "$title" || e2e_fail "after Done the focus is on '$(e2e_atspi focused)', not on '$title'"
    e2e_atspi_lacks_state "push button" "$title" checked || e2e_fail "'$title' stays checked after Done"
done
e2e_screenshot "$E2E_NAME-end" >/dev/null
e2e_log "ok"
