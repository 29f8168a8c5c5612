#!/usr/bin/env bash
# Resident memory and start-up time of the setup guide at device pixel ratios 1
# and 2, each against a bare Qt window that shows the same photograph
# maximised at the same ratio (bench/startup/bare_window.cpp), and the setup
# guide's start-up at ratio 2 against its own at ratio 1. Prints medians and
# their ratios; nothing here passes or fails on a figure.
#
#   bench/memory.sh [BUILD_DIR=build] [RUNS=5]
#
# BUILD_DIR must be configured with -DKX_BUILD_BENCH=ON. Each ratio gets its own
# Xvfb with openbox, 1280 x 1024 logical pixels (2560 x 2048 at ratio 2), and Qt
# is told the ratio through QT_SCALE_FACTOR.
#   memory   Rss and Pss of /proc/PID/smaps_rollup once the program is idle:
#            for the setup guide with its main window and the help window
#            shown, for the bare window with its window shown; "idle" is when
#            Rss has not changed for a second.
#   start-up from just before the process starts until it reports its first
#            idle (KX_BENCH_EXIT_AT_IDLE=1), as bench/startup.sh measures it.
set -euo pipefail
repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
photo=$repo/assets/board.jpg
if [[ ${1:-} == --ratio ]]; then
    # One ratio on a display of its own, called by this script itself below.
    ratio=$2 build=$3 runs=$4
    real_program=$build/src/app/kx7040-setup
    bare_program=$build/bench/startup/bench_bare_window
else
    build=$(readlink -f "${1:-$repo/build}")
    runs=${2:-5}
    [[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "RUNS must be a positive number, not '$runs'" >&2; exit 2; }
    [[ -f $build/CMakeCache.txt ]] || { echo "$build is not a configured build folder" >&2; exit 1; }
    cmake --build "$build" -j2 --target kx7040-setup bench_bare_window >/dev/null ||
        { echo "could not build kx7040-setup and bench_bare_window (configure with -DKX_BUILD_BENCH=ON)" >&2; exit 1; }
    real_program=$build/src/app/kx7040-setup
    bare_program=$build/bench/startup/bench_bare_window

    results=$(mktemp)
    trap 'rm -f "$results"' EXIT
    for ratio in 1 2; do
        "$0" --ratio "$ratio" "$build" "$runs" | tee -a "$results"
    done
    awk '
        $1 == "RESULT" { v[$2 "," $3] = $4 }
        END {
            printf "\n%-34s %10s %10s %10s %10s\n", "median", "guide r1", "bare r1", "guide r2", "bare r2"
            split("rss_kb pss_kb startup_ms", keys, " ")
            for (k = 1; k <= 3; k++) {
                key = keys[k]
                printf "%-34s %10s %10s %10s %10s\n", key, v["guide1," key], v["bare1," key], v["guide2," key], v["bare2," key]
            }
            printf "\nPss setup guide / bare window     ratio 1: %.2f   ratio 2: %.2f\n",
                v["guide1,pss_kb"] / v["bare1,pss_kb"], v["guide2,pss_kb"] / v["bare2,pss_kb"]
            printf "Rss setup guide / bare window     ratio 1: %.2f   ratio 2: %.2f\n",
                v["guide1,rss_kb"] / v["bare1,rss_kb"], v["guide2,rss_kb"] / v["bare2,rss_kb"]
            printf "start-up of the setup guide, ratio 2 / ratio 1: %.2f\n",
                v["guide2,startup_ms"] / v["guide1,startup_ms"]
        }' "$results"
    exit 0
fi

export KX_E2E_OUT=$build/bench-memory
# shellcheck source=SCRIPTDIR/../tests/e2e/lib.sh
source "$repo/tests/e2e/lib.sh"
E2E_SCREEN_W=$((1280 * ratio)) E2E_SCREEN_H=$((1024 * ratio))
e2e_start_display

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

rollup() {
    awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/smaps_rollup"
}

# The Rss of PID once it has not changed for a second (polled every 0.2 s,
# for at most 30 s).
_rss_steady() {
    local now
    now=$(rollup "$1" Rss)
    if [[ $now == "$LAST_RSS" ]]; then
        STEADY=$((STEADY + 1))
    else
        STEADY=0 LAST_RSS=$now
    fi
    ((STEADY >= 5)) || { sleep 0.2; return 1; }
}

# memory LABEL WINDOW... -- PROGRAM [ARGS...]
# Starts the program, waits for each named window and for steady memory, and
# sets RSS_KB and PSS_KB.
memory() {
    local label=$1 windows=() pid
    shift
    while [[ $1 != -- ]]; do windows+=("$1"); shift; done
    shift
    env -u KX_BENCH_EXIT_AT_IDLE QT_SCALE_FACTOR="$ratio" QT_QPA_PLATFORM=xcb "$@" >/dev/null 2>&1 &
    pid=$!
    for w in "${windows[@]}"; do
        e2e_wait_window "$w" 30 >/dev/null
    done
    LAST_RSS="" STEADY=0
    e2e_poll 30 _rss_steady "$pid" || echo "$label: memory still changing after 30 s" >&2
    RSS_KB=$(rollup "$pid" Rss) PSS_KB=$(rollup "$pid" Pss)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

# startup PROGRAM [ARGS...]: sets STARTUP_MS, wall clock to the first idle.
startup() {
    local t0 line t1=""
    t0=$EPOCHREALTIME
    while IFS= read -r line; do
        [[ -z $t1 && $line == KX_FIRST_IDLE* ]] && t1=$EPOCHREALTIME
    done < <(timeout 60 env KX_BENCH_EXIT_AT_IDLE=1 QT_SCALE_FACTOR="$ratio" QT_QPA_PLATFORM=xcb "$@" 2>&1 >/dev/null)
    [[ -n $t1 ]] || { echo "no first idle reported by $1" >&2; exit 1; }
    STARTUP_MS=$(awk -v a="${t0/,/.}" -v b="${t1/,/.}" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
}

startup "$real_program"  # warms the file cache
startup "$bare_program" "$photo"
guide_rss=() guide_pss=() guide_start=() bare_rss=() bare_pss=() bare_start=()
for ((i = 1; i <= runs; i++)); do
    memory "setup guide" "Setup" "Instructions for Settings utility" -- "$real_program"
    guide_rss+=("$RSS_KB") guide_pss+=("$PSS_KB")
    memory "bare window" "Bare window" -- "$bare_program" "$photo"
    bare_rss+=("$RSS_KB") bare_pss+=("$PSS_KB")
    startup "$real_program"
    guide_start+=("$STARTUP_MS")
    startup "$bare_program" "$photo"
    bare_start+=("$STARTUP_MS")
    echo "ratio $ratio run $i: setup guide Rss ${guide_rss[-1]} kB Pss ${guide_pss[-1]} kB start ${guide_start[-1]} ms;" \
        "bare window Rss ${bare_rss[-1]} kB Pss ${bare_pss[-1]} kB start ${bare_start[-1]} ms" >&2
done
for what in rss pss start; do
    key=${what}_kb
    [[ $what == start ]] && key=startup_ms
    g="guide_${what}[@]" b="bare_${what}[@]"
    echo "RESULT guide$ratio $key $(printf '%s\n' "${!g}" | median)"
    echo "RESULT bare$ratio $key $(printf '%s\n' "${!b}" | median)"
done
