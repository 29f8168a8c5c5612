# shellcheck shell=bash
# Helpers of the end-to-end tests that look at colours: a desktop colour
# scheme for the program, and the contrast of text as the screen shows it.
# Source after lib.sh.

# e2e_use_qt6ct_scheme SCHEME_FILE [STYLE=Fusion]
# Makes the program started next take its palette from the qt6ct colour
# scheme SCHEME_FILE and its widget style from STYLE, through a private
# configuration folder, so that nothing of the machine's own setup counts.
# Call after e2e_start_display.
e2e_use_qt6ct_scheme() {
    local scheme=$1 style=${2:-Fusion}
    [[ -r $scheme ]] || e2e_fail "the colour scheme $scheme cannot be read (qt6ct installs it)"
    mkdir -p "$E2E_TMP/qt-config/qt6ct"
    cat >"$E2E_TMP/qt-config/qt6ct/qt6ct.conf" <<CONF
[Appearance]
color_scheme_path=$scheme
custom_palette=true
style=$style
standard_dialogs=default
CONF
    export XDG_CONFIG_HOME=$E2E_TMP/qt-config
    export QT_QPA_PLATFORMTHEME=qt6ct
}

# e2e_contrast X Y W H
# Reads the W x H screen pixels at (X, Y), takes the most common colour as the
# background and the colour farthest from it (by the accessibility
# guidelines' contrast ratio) as the text, and sets E2E_CONTRAST (the ratio,
# two decimals), E2E_BACKGROUND, E2E_TEXT (#RRGGBB) and E2E_BACKGROUND_LUMINANCE
# (0 to 1, three decimals).
e2e_contrast() {
    local x=$1 y=$2 w=$3 h=$4 out
    out=$(e2e_pixels "$x" "$y" "$w" "$h" | awk '
        function hex(s,   i, v) {
            v = 0
            for (i = 1; i <= length(s); i++) v = v * 16 + index("0123456789ABCDEF", substr(s, i, 1)) - 1
            return v
        }
        function lin(v) { v /= 255; return v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ^ 2.4 }
        function lum(c) {
            return 0.2126 * lin(hex(substr(c, 2, 2))) + 0.7152 * lin(hex(substr(c, 4, 2))) \
                 + 0.0722 * lin(hex(substr(c, 6, 2)))
        }
        function ratio(a, b,   la, lb) {
            la = lum(a); lb = lum(b)
            return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05)
        }
        { n[$3]++ }
        END {
            for (c in n) if (n[c] > most) { most = n[c]; bg = c }
            best = 1; text = bg
            for (c in n) if (ratio(c, bg) > best) { best = ratio(c, bg); text = c }
            printf "%.2f %s %s %.3f\n", best, bg, text, lum(bg)
        }') || e2e_fail "could not measure the contrast in ${w}x${h}+$x+$y"
    read -r E2E_CONTRAST E2E_BACKGROUND E2E_TEXT E2E_BACKGROUND_LUMINANCE <<<"$out"
}
