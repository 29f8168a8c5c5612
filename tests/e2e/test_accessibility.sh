#!/usr/bin/env bash
# The program as a screen reader reads it over the accessibility bus: the
# drawn rings, labels and jumper are there with their roles, names and
# descriptions; a ring's action opens and pins its popup; the jumper's
# description follows the cap; the power radio buttons are radio buttons.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=SCRIPTDIR/lib_atspi.sh
source "$(dirname "$0")/lib_atspi.sh"

e2e_start_display
e2e_atspi_start_bus
e2e_start_app
E2E_MAIN=$(e2e_wait_window "Setup")

# The help window's title is a drawn label too.
help=$(e2e_wait_window "Instructions for Settings utility")
e2e_poll 20 e2e_atspi find "label" "How to use this program" ||
    e2e_fail "the help window's title is not on the accessibility bus"
e2e_close "$help"
e2e_wait_no_window "Instructions for Settings utility" 10

e2e_atspi dump >"$KX_E2E_OUT/$E2E_NAME-main.txt"
e2e_atspi find "label" "KX-7040 Series Settings Program" ||
    e2e_fail "the header line is not on the accessibility bus"

# One button per linked group: three circles titled "Input Header" and two
# titled "External Power" stand there once each.
for title in "External Power" "Filter Jumpers" "USB Connector" "LED" "Input Header"; do
    count=$(grep -c "^ *push button: '$title'" "$KX_E2E_OUT/$E2E_NAME-main.txt" || true)
    ((count == 1)) || e2e_fail "the ring group '$title' is on the bus $count times, expected once"
done
[[ $(e2e_atspi describe "push button" "LED") == "The LED indicates power and activity." ]] ||
    e2e_fail "the LED ring does not carry its panel's text as its description"

# A ring's action does what a click does: its popup opens, pinned.
e2e_atspi action "push button" "USB Connector" || e2e_fail "the USB ring's action failed"
e2e_wait_window "USB Connector" 10 >/dev/null
e2e_poll 10 e2e_atspi_has_state "push button" "USB Connector" checked ||
    e2e_fail "the USB ring is not checked while its popup is pinned"
e2e_atspi action "push button" "Done" || e2e_fail "Done's action failed"
e2e_wait_no_window "USB Connector" 10
e2e_poll 10 e2e_atspi_lacks_state "push button" "USB Connector" checked ||
    e2e_fail "the USB ring stays checked after its popup closed"

# The power popup: its labels, the jumper and the radio buttons.
e2e_atspi action "push button" "External Power" || e2e_fail "the power ring's action failed"
e2e_wait_window "External Power" 10 >/dev/null
e2e_poll 10 e2e_atspi find "push button" "VEXT/VUSB jumper" ||
    e2e_fail "the jumper is not on the bus by its labels' names"
e2e_atspi dump "External Power" >"$KX_E2E_OUT/$E2E_NAME-power.txt"
for label in VEXT VUSB; do
    e2e_atspi find "label" "$label" || e2e_fail "the label $label is not on the bus"
done
for radio in "USB Powered" "External Powered"; do
    e2e_atspi find "radio button" "$radio" || e2e_fail "'$radio' is not a radio button on the bus"
done
jumper_says() { [[ $(e2e_atspi describe "push button" "VEXT/VUSB jumper") == "$1" ]]; }
e2e_poll 5 jumper_says "cap on pins 2 and 3, VUSB side" ||
    e2e_fail "the jumper says '$(e2e_atspi describe "push button" "VEXT/VUSB jumper")' with its cap on VUSB"
e2e_atspi_has_state "radio button" "USB Powered" checked || e2e_fail "USB Powered is not checked"

# The jumper's action moves the cap as a click does, and the radio buttons
# follow it as they follow a click.
e2e_atspi action "push button" "VEXT/VUSB jumper" || e2e_fail "the jumper's action failed"
e2e_poll 10 jumper_says "cap on pins 1 and 2, VEXT side" ||
    e2e_fail "after its action the jumper says '$(e2e_atspi describe "push button" "VEXT/VUSB jumper")'"
e2e_poll 10 e2e_atspi_has_state "radio button" "External Powered" checked ||
    e2e_fail "External Powered did not follow the jumper"
e2e_atspi_lacks_state "radio button" "USB Powered" checked || e2e_fail "USB Powered stays checked"

# And back through a radio button's own action.
e2e_atspi action "radio button" "USB Powered" || e2e_fail "USB Powered's action failed"
e2e_poll 10 jumper_says "cap on pins 2 and 3, VUSB side" || e2e_fail "the jumper did not follow USB Powered"
e2e_screenshot "$E2E_NAME-power" >/dev/null
e2e_log "ok"
