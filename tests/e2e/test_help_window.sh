#!/usr/bin/env bash
# The help window as a user meets it: it opens by itself shortly after start,
# shows its document in colour, and Enter starts the guided tour with the
# "Filter Jumpers" popup pinned; the popup's Next button, clicked with the
# real pointer, moves on to "External Power"; Help > Technical Support (from
# the keyboard) shows the support window, and Esc hides it again.
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"

readonly HELP_TITLE="Instructions for Settings utility"
readonly SUPPORT_TITLE="Technical Support"
# The document's colours: the title (colour 0) and the words for the three
# kinds of circle (colours 1 to 3).
readonly TITLE_GREY="#404040" YELLOW="#FFFF40" BLUE="#4040FF" RED="#FF4040"
# The popup's Next button: 58 x 25, centred, 44 pixels above the bottom of
# the client area.
readonly NEXT_W=58 NEXT_H=25 NEXT_FROM_BOTTOM=44

# count_colour FILE COLOUR
# Prints how many pixels of the picture FILE have exactly the colour COLOUR.
count_colour() {
    convert "$1" -alpha off -fill black +opaque "$2" -fill white -opaque "$2" \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null ||
        e2e_fail "could not count the colour $2 in $1"
}

# grab_window WID NAME
# Saves the window's area of the screen as $KX_E2E_OUT/NAME.png and prints
# the file's path.
grab_window() {
    local file=$KX_E2E_OUT/$2.png
    e2e_geometry "$1"
    import -window root -crop "${E2E_CLIENT_W}x${E2E_CLIENT_H}+${E2E_CLIENT_X}+${E2E_CLIENT_Y}" +repage "$file" ||
        e2e_fail "could not take the picture $file"
    printf '%s\n' "$file"
}

command -v convert >/dev/null 2>&1 || e2e_fail "missing tool: convert (ImageMagick)"

e2e_start_display
e2e_start_app
main=$(e2e_wait_window "Setup")
help=$(e2e_wait_window "$HELP_TITLE" 20)
e2e_screenshot help-window >/dev/null

# The document shows its title in dark grey and the circle words in their
# colours. The view shows the top of the document first; the wheel scrolls
# it down to the coloured words without moving the keyboard focus.
declare -A seen=([title]=0 [yellow]=0 [blue]=0 [red]=0)
look_at_document() {
    local picture=$1
    seen[title]=$((seen[title] + $(count_colour "$picture" "$TITLE_GREY")))
    seen[yellow]=$((seen[yellow] + $(count_colour "$picture" "$YELLOW")))
    seen[blue]=$((seen[blue] + $(count_colour "$picture" "$BLUE")))
    seen[red]=$((seen[red] + $(count_colour "$picture" "$RED")))
}
window_drawn() {
    local picture
    picture=$(grab_window "$help" help-window-top)
    (($(count_colour "$picture" "$TITLE_GREY") > 0))
}
e2e_poll 10 window_drawn || e2e_fail "the help window shows no dark grey title"
look_at_document "$KX_E2E_OUT/help-window-top.png"
e2e_geometry "$help"
help_x=$E2E_CLIENT_X help_y=$E2E_CLIENT_Y help_w=$E2E_CLIENT_W
# Over the document: below the label at the top, left of the scroll bar.
xdotool mousemove --sync $((help_x + help_w / 2)) $((help_y + 60))
for step in 1 2 3 4; do
    xdotool click --repeat 3 5
    picture=$(grab_window "$help" "help-window-scrolled-$step")
    look_at_document "$picture"
done
e2e_log "document colours: title ${seen[title]}, yellow ${seen[yellow]}, blue ${seen[blue]}, red ${seen[red]} pixels"
for colour in title yellow blue red; do
    ((seen[$colour] > 0)) || e2e_fail "the help document shows no $colour text"
done
# Park the pointer where it rests on no control, so it opens no popup.
xdotool mousemove --sync $((E2E_SCREEN_W - 1)) $((E2E_SCREEN_H - 1))

# Enter clicks the Start button: the help window goes and the tour begins
# with the first circle's popup pinned.
e2e_key "$help" Return
e2e_wait_no_window "$HELP_TITLE" 10
popup=$(e2e_wait_window "Filter Jumpers" 10)
e2e_screenshot tour-filter-jumpers >/dev/null

# Next, clicked with the real pointer, closes this popup and opens the next
# entry of the tour.
e2e_geometry "$popup"
next_x=$((E2E_CLIENT_X + (E2E_CLIENT_W - NEXT_W) / 2 + NEXT_W / 2))
next_y=$((E2E_CLIENT_Y + E2E_CLIENT_H - NEXT_FROM_BOTTOM + NEXT_H / 2))
e2e_log "clicking Next at ($next_x, $next_y)"
xdotool mousemove --sync "$next_x" "$next_y"
popup_active() { [[ $(xdotool getactivewindow 2>/dev/null) == "$popup" ]]; }
e2e_poll 10 popup_active || e2e_fail "the Filter Jumpers popup did not become the active window"
xdotool click 1
e2e_wait_window "External Power" 10 >/dev/null
e2e_wait_no_window "Filter Jumpers" 10
xdotool mousemove --sync $((E2E_SCREEN_W - 1)) $((E2E_SCREEN_H - 1))
e2e_screenshot tour-external-power >/dev/null

# Help > Technical Support from the keyboard shows the support window; its
# Close button has the focus, so Esc hides it.
e2e_key "$main" alt+h
e2e_key "$main" t
support=$(e2e_wait_window "$SUPPORT_TITLE" 10)
e2e_screenshot technical-support >/dev/null
e2e_key "$support" Escape
e2e_wait_no_window "$SUPPORT_TITLE" 10

# Help > How to use this program shows the help window again.
e2e_key "$main" alt+h
e2e_key "$main" o
e2e_wait_window "$HELP_TITLE" 10 >/dev/null
e2e_app_running || e2e_fail "the program ended"
