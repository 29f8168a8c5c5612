#!/usr/bin/env bash
# Compares our JPEG decoder with libjpeg-turbo's own djpeg on the board photograph and prints the
# time per decode of each and their ratio.
#
#   bench/decode_vs_djpeg.sh [BUILD_DIR=build] [N=200] [ROUNDS=3]
#
# BUILD_DIR must be configured with -DKX_BUILD_BENCH=ON; kx_bench_decode is built there first.
# Both sides run as processes: ours decodes the file N times in one process, djpeg runs N times
# writing to /dev/null. The start-up cost is measured and taken off each side (ours: the same
# process decoding nothing; djpeg: N runs on an 8 x 8 picture), so the figures are the decoding
# alone. Each side is measured ROUNDS times, alternating, and the fastest round counts, which keeps
# other work on the machine out of the figures as far as possible.
set -euo pipefail
repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
build=$(readlink -f "${1:-$repo/build}")
n=${2:-200}
rounds=${3:-3}
[[ $n =~ ^[1-9][0-9]*$ ]] || { echo "N must be a positive number, not '$n'" >&2; exit 2; }
[[ $rounds =~ ^[1-9][0-9]*$ ]] || { echo "ROUNDS must be a positive number, not '$rounds'" >&2; exit 2; }
command -v djpeg >/dev/null && command -v cjpeg >/dev/null ||
    { echo "djpeg and cjpeg are needed (Debian package libjpeg-turbo-progs)" >&2; exit 1; }

photo=$repo/assets/board.jpg
[[ -f $photo ]] || { echo "missing $photo" >&2; exit 1; }
[[ -f $build/CMakeCache.txt ]] || { echo "$build is not a configured build folder" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if ! cmake --build "$build" -j2 --target kx_bench_decode >"$scratch/build.log" 2>&1; then
    cat "$scratch/build.log" >&2
    echo "could not build kx_bench_decode in $build (configure with -DKX_BUILD_BENCH=ON)" >&2
    exit 1
fi
ours=$build/bench/kx_bench_decode
tiny=$scratch/tiny.jpg
{ printf 'P6\n8 8\n255\n'; head -c 192 /dev/zero; } | cjpeg -outfile "$tiny"

now() { date +%s%N; }

# Nanoseconds for one run of the given command.
time_of() {
    local start
    start=$(now)
    "$@"
    echo $(($(now) - start))
}

djpeg_times() {
    local file=$1 i
    for ((i = 0; i < n; i++)); do
        djpeg -outfile /dev/null "$file"
    done
}

best_ours="" best_djpeg=""
for ((round = 1; round <= rounds; round++)); do
    full=$(time_of "$ours" --decode "$photo" "$n")
    empty=$(time_of "$ours" --decode "$photo" 0)
    t_ours=$((full - empty))
    full=$(time_of djpeg_times "$photo")
    empty=$(time_of djpeg_times "$tiny")
    t_djpeg=$((full - empty))
    if [[ -z $best_ours || $t_ours -lt $best_ours ]]; then best_ours=$t_ours; fi
    if [[ -z $best_djpeg || $t_djpeg -lt $best_djpeg ]]; then best_djpeg=$t_djpeg; fi
done

awk -v ours="$best_ours" -v djpeg="$best_djpeg" -v n="$n" -v file="$photo" 'BEGIN {
    printf "file:   %s\n", file
    printf "ours:   %.3f ms per decode (DecodeJpeg, %d decodes in one process)\n", ours / n / 1e6, n
    printf "djpeg:  %.3f ms per decode (start-up taken off, output to /dev/null)\n", djpeg / n / 1e6
    printf "ratio:  %.2f (ours / djpeg; below 1 means ours is faster)\n", ours / djpeg
}'
