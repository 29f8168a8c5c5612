#!/usr/bin/env bash
# The real program's command line: --help and --version answer on stdout
# without a display, unknown arguments are refused with one line and status 2,
# a display that cannot be opened is named in one line with status 1 (no
# abort, no Qt advice to reinstall), and on X11 every window carries the class
# "kx7040-setup" that the desktop entry names.
#
# KX_BINARY names the program, so the test also runs against an installed one:
#   KX_BINARY=/usr/bin/kx7040-setup bash tests/e2e/test_command_line.sh
# shellcheck source=SCRIPTDIR/lib.sh
source "$(dirname "$0")/lib.sh"

[[ -n ${KX_BINARY:-} && -x $KX_BINARY ]] || e2e_fail "KX_BINARY (${KX_BINARY:-unset}) is not an executable file"

CLI_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kx-cli.XXXXXX")
# lib.sh owns the EXIT trap; its clean-up removes E2E_TMP, so the folder is
# handed over once the display is up. Until then a failure leaves it behind in
# the temporary folder, which does no harm.
OUT=$CLI_TMP/stdout
ERR=$CLI_TMP/stderr

# run EXPECTED_STATUS ARGS...: runs the program with its stdout and stderr in
# files, with no display at all unless the caller's environment gives one.
# The program must end by itself; a deadline keeps a wrong start from hanging
# the test.
run() {
    local expected=$1 status=0
    shift
    timeout 20 "$@" >"$OUT" 2>"$ERR" </dev/null || status=$?
    ((status != 124)) || e2e_fail "$* still ran after 20 s"
    ((status == expected)) || e2e_fail "$* ended with status $status, not $expected; stderr: $(cat "$ERR")"
}

lines() {
    local n
    n=$(wc -l <"$1")
    [[ $n == "$2" ]] || e2e_fail "$1 has $n lines, not $2: $(cat "$1")"
}

no_qt_abort() {
    ! grep -q -i 'reinstall' "$ERR" || e2e_fail "Qt's advice to reinstall shows: $(cat "$ERR")"
}

nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

for help in --help -h; do
    run 0 "${nodisplay[@]}" "$KX_BINARY" "$help"
    grep -q '^Usage: kx7040-setup' "$OUT" || e2e_fail "$help prints no usage line: $(head -n 3 "$OUT")"
    for word in --version -platform -display -style QT_QPA_PLATFORM XWayland 'Exit status'; do
        grep -q -e "$word" "$OUT" || e2e_fail "the usage text of $help does not mention $word"
    done
    [[ ! -s $ERR ]] || e2e_fail "$help writes to stderr: $(cat "$ERR")"
done

for version in --version -v; do
    run 0 "${nodisplay[@]}" "$KX_BINARY" "$version"
    [[ $(cat "$OUT") == "kx7040-setup 1.1.0" ]] || e2e_fail "$version prints '$(cat "$OUT")'"
    lines "$OUT" 1
    [[ ! -s $ERR ]] || e2e_fail "$version writes to stderr: $(cat "$ERR")"
done

# An answer that cannot be written is no success.
if [[ -w /dev/full ]]; then
    status=0
    "${nodisplay[@]}" "$KX_BINARY" --version >/dev/full 2>"$ERR" || status=$?
    ((status == 1)) || e2e_fail "--version into a full disk ended with status $status"
    grep -q -F 'kx7040-setup: cannot write to standard output' "$ERR" || e2e_fail "--version into a full disk: $(cat "$ERR")"
fi

# Refused arguments, each with the words its line must carry. They are refused
# before any display is looked for.
refusals=(
    "--bogus|unknown option '--bogus'"
    "file.txt|unexpected argument 'file.txt'"
    "-platform|option '-platform' needs a value"
)
for entry in "${refusals[@]}"; do
    arg=${entry%%|*} words=${entry#*|}
    run 2 "${nodisplay[@]}" "$KX_BINARY" "$arg"
    lines "$ERR" 1
    grep -q -F "kx7040-setup: $words" "$ERR" || e2e_fail "$arg: '$(cat "$ERR")' does not say \"$words\""
    grep -q -F "see 'kx7040-setup --help'" "$ERR" || e2e_fail "$arg: the line does not point to --help"
    [[ ! -s $OUT ]] || e2e_fail "$arg writes to stdout: $(cat "$OUT")"
done

# A display number no server uses: neither its socket nor its lock file
# exists.
unused=150
while [[ -e /tmp/.X11-unix/X$unused || -e /tmp/.X$unused-lock ]]; do
    unused=$((unused + 1))
done
mkdir -m 700 "$CLI_TMP/runtime"

# No display: each case with the words its one line must carry.
run 1 "${nodisplay[@]}" "$KX_BINARY"
lines "$ERR" 1
grep -q -F 'kx7040-setup: no display: neither DISPLAY nor WAYLAND_DISPLAY is set' "$ERR" ||
    e2e_fail "without a display: $(cat "$ERR")"
no_qt_abort

run 1 "${nodisplay[@]}" DISPLAY=":$unused" "$KX_BINARY"
lines "$ERR" 1
grep -q -F "kx7040-setup: cannot open display ':$unused' (X11)" "$ERR" ||
    e2e_fail "with DISPLAY=:$unused: $(cat "$ERR")"
no_qt_abort

run 1 "${nodisplay[@]}" "$KX_BINARY" -display ":$unused"
lines "$ERR" 1
grep -q -F "cannot open display ':$unused' (X11)" "$ERR" || e2e_fail "with -display :$unused: $(cat "$ERR")"

run 1 "${nodisplay[@]}" XDG_RUNTIME_DIR="$CLI_TMP/runtime" WAYLAND_DISPLAY=kx-none "$KX_BINARY"
lines "$ERR" 1
grep -q -F "cannot connect to Wayland display 'kx-none'" "$ERR" || e2e_fail "with a dead Wayland display: $(cat "$ERR")"

# A platform Qt does not have: Qt's own failure, caught and told in one line.
run 1 "${nodisplay[@]}" "$KX_BINARY" -platform kx-no-such-platform
lines "$ERR" 1
grep -q -F "cannot start on the Qt platform 'kx-no-such-platform' (available:" "$ERR" ||
    e2e_fail "with an unknown platform: $(cat "$ERR")"
no_qt_abort
e2e_log "the command line answers as it should without a display"

# On a display: Qt's own options pass through, and every window of the program
# has the class of the desktop entry.
e2e_start_display
mv "$CLI_TMP" "$E2E_TMP/cli"
e2e_start_app -style Fusion -reverse --name kx-instance
main=$(e2e_wait_window "Setup")
class=$(xprop -id "$main" WM_CLASS)
[[ $class == 'WM_CLASS(STRING) = "kx-instance", "kx7040-setup"' ]] ||
    e2e_fail "the main window's class with -name: $class"
# The help window opens by itself once the program is up; it goes first, so
# that it cannot take the activation meant for the main window.
help=$(e2e_wait_window "Instructions for Settings utility")
e2e_close "$help"
e2e_wait_no_window "Instructions for Settings utility" 10
e2e_close "$main"
e2e_wait_exit 20 || e2e_fail "the program ended with status $E2E_APP_STATUS"

e2e_start_app
main=$(e2e_wait_window "Setup")
help=$(e2e_wait_window "Instructions for Settings utility")
for wid in "$main" "$help"; do
    class=$(xprop -id "$wid" WM_CLASS)
    [[ $class == 'WM_CLASS(STRING) = "kx7040-setup", "kx7040-setup"' ]] ||
        e2e_fail "window $wid ($(xdotool getwindowname "$wid")) has $class"
done
[[ ! -s $E2E_APP_ERR ]] || e2e_fail "the program talks on X11: $(cat "$E2E_APP_ERR")"
e2e_log "WM_CLASS of the main and the help window: kx7040-setup, kx7040-setup"
