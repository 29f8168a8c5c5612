#!/usr/bin/env bash
# Measures how long the setup guide takes from process start to its first idle
# moment, against a bare Qt window that shows the same photograph maximised
# (bench/startup/bare_window.cpp), and prints the medians and their ratio.
#
#   bench/startup.sh [BUILD_DIR=build] [RUNS=10]
#
# BUILD_DIR must be configured with -DKX_BUILD_BENCH=ON; the two programs are
# built there first. Both run under a private Xvfb with openbox, the same
# display the end-to-end tests use, with KX_BENCH_EXIT_AT_IDLE=1: each prints
# "KX_FIRST_IDLE <ms since process start>" on stderr at its first idle moment
# and exits. Two figures are kept per run:
#   wall  from just before the process is started until that line arrives,
#         taken by this script the same way for both programs;
#   self  the milliseconds the program itself reports; each program keeps
#         its own clock, so these are shown but not compared.
# The runs of the two programs alternate, after one unmeasured run of each
# that warms the file cache, so that a change in the machine's load touches
# both alike.
set -euo pipefail
repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
build=$(readlink -f "${1:-$repo/build}")
runs=${2:-10}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "RUNS must be a positive number, not '$runs'" >&2; exit 2; }

photo=$repo/assets/board.jpg
[[ -f $photo ]] || { echo "missing $photo" >&2; exit 1; }
[[ -f $build/CMakeCache.txt ]] || { echo "$build is not a configured build folder" >&2; exit 1; }
if ! cmake --build "$build" -j2 --target kx7040-setup bench_bare_window; then
    echo "could not build kx7040-setup and bench_bare_window in $build" \
        "(configure it with -DKX_BUILD_BENCH=ON)" >&2
    exit 1
fi
real_program=$build/src/app/kx7040-setup
bare_program=$build/bench/startup/bench_bare_window

# The display helpers of the end-to-end tests start and end Xvfb and openbox;
# their log files go with this script's output.
export KX_E2E_OUT=$build/bench-startup
# shellcheck source=SCRIPTDIR/../tests/e2e/lib.sh
source "$repo/tests/e2e/lib.sh"
e2e_start_display

# measure LABEL PROGRAM [ARGS...]
# Runs the program once and sets WALL_MS and SELF_MS. A program that does not
# report its first idle within a minute is ended and the measurement fails.
measure() {
    local label=$1 line t0 t1="" pid status=0 output=""
    shift
    WALL_MS="" SELF_MS=""
    t0=$EPOCHREALTIME
    exec {from_program}< <(exec timeout 60 env KX_BENCH_EXIT_AT_IDLE=1 QT_QPA_PLATFORM=xcb "$@" 2>&1 >/dev/null)
    pid=$!
    while IFS= read -r -u "$from_program" line; do
        if [[ -z $t1 && $line =~ ^KX_FIRST_IDLE\ ([0-9.]+) ]]; then
            t1=$EPOCHREALTIME
            SELF_MS=${BASH_REMATCH[1]}
        else
            output+="  $line"$'\n'
        fi
    done
    exec {from_program}<&-
    wait "$pid" || status=$?
    if [[ -z $t1 || $status != 0 ]]; then
        printf '%s' "$output" >&2
    fi
    if [[ -z $t1 ]]; then
        if ((status == 124)); then
            echo "$label did not report its first idle within 60 s; does it print KX_FIRST_IDLE" \
                "when started with KX_BENCH_EXIT_AT_IDLE=1?" >&2
        else
            echo "$label ended with status $status without reporting its first idle" >&2
        fi
        exit 1
    fi
    ((status == 0)) || { echo "$label reported its first idle but ended with status $status" >&2; exit 1; }
    WALL_MS=$(awk -v a="${t0/,/.}" -v b="${t1/,/.}" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

measure "setup guide" "$real_program"
measure "bare window" "$bare_program" "$photo"

real_wall=() real_self=() bare_wall=() bare_self=()
for ((i = 1; i <= runs; i++)); do
    measure "setup guide" "$real_program"
    real_wall+=("$WALL_MS") real_self+=("$SELF_MS")
    measure "bare window" "$bare_program" "$photo"
    bare_wall+=("$WALL_MS") bare_self+=("$SELF_MS")
    printf 'run %2d: setup guide %7s ms (self %s), bare window %7s ms (self %s)\n' \
        "$i" "${real_wall[-1]}" "${real_self[-1]}" "${bare_wall[-1]}" "${bare_self[-1]}"
done

rw=$(printf '%s\n' "${real_wall[@]}" | median)
bw=$(printf '%s\n' "${bare_wall[@]}" | median)
rs=$(printf '%s\n' "${real_self[@]}" | median)
bs=$(printf '%s\n' "${bare_self[@]}" | median)
ratio=$(awk -v a="$rw" -v b="$bw" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }')
echo
echo "first idle, median of $runs runs (ms)   setup guide   bare window   ratio"
printf 'wall clock, from process launch        %11s   %11s   %5s\n' "$rw" "$bw" "$ratio"
printf 'self-reported                          %11s   %11s\n' "$rs" "$bs"
