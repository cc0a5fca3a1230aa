#!/usr/bin/env bash
# Times `tarnik-cli run` on the shared benchmark programs, the folder
# ../shared/bench-peers/tarnik next to the repository (nested loops, primes by
# trial division, GOSUB calls, Collatz branches, 100000 PRINT lines, and an
# empty program for the start-up cost). Prints the median wall time of each,
# standard output discarded. Not a test: nothing is compared.
#   bench/run_benchmarks.sh
#   TARNIK_CLI=path/to/tarnik-cli bench/run_benchmarks.sh   (default: build/bin/tarnik-cli)
#   RUNS=5 bench/run_benchmarks.sh                          (default: 3 runs each)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${TARNIK_CLI:-$root/build/bin/tarnik-cli}"
programs="$root/../shared/bench-peers/tarnik"
runs="${RUNS:-3}"

[ -x "$cli" ] || { echo "no tarnik-cli at $cli: build the tarnik-cli target or set TARNIK_CLI" >&2; exit 2; }
[ -d "$programs" ] || {
    echo "the benchmark programs are missing: expected the folder ../shared/bench-peers/tarnik next to the repository" >&2
    exit 2
}
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "RUNS must be a positive whole number" >&2; exit 2; }
shopt -s nullglob
files=("$programs"/*.bas)
[ ${#files[@]} -gt 0 ] || { echo "no .bas programs in ../shared/bench-peers/tarnik" >&2; exit 2; }

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Median wall time in seconds of `tarnik-cli run FILE`.
time_with_hyperfine() {
    hyperfine -N --runs "$runs" --style none --export-json "$scratch/times.json" "$cli run $1" >/dev/null 2>&1
    grep -o '"median": *[0-9.eE+-]*' "$scratch/times.json" | awk -F: '{ print $2 + 0 }'
}

time_with_date() {
    local i start end
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s.%N)
        "$cli" run "$1" >/dev/null </dev/null
        end=$(date +%s.%N)
        awk -v s="$start" -v e="$end" 'BEGIN { print e - s }'
    done | median
}

if command -v hyperfine >/dev/null 2>&1; then timer=time_with_hyperfine; how=hyperfine; else timer=time_with_date; how="date loop"; fi
echo "tarnik-cli run, median wall time of $runs runs ($how)"
for file in "${files[@]}"; do
    name="$(basename "$file" .bas)"
    # One checked run first, so that a failing program is reported rather than timed.
    if ! "$cli" run "$file" >/dev/null 2>"$scratch/error" </dev/null; then
        echo "$name: tarnik-cli run failed: $(tail -n 1 "$scratch/error")" >&2
        exit 1
    fi
    printf '%-10s %8.3f s\n' "$name" "$("$timer" "$file")"
done
