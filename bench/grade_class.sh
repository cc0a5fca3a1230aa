#!/usr/bin/env bash
# A class of 40 programs judged on 10 cases by tarnik-cli grade, with one job
# and with two: the wall time of each (best of REPEAT runs) and the speed-up.
# The programs do real work (sums over loops of thousands of passes, a mix of
# right, wrong, endless and failing programs) so that the judging, not the
# start-up or the report, is what is measured.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CLI="${CLI:-$ROOT/build/bin/tarnik-cli}"
REPEAT="${REPEAT:-5}"
# The statement limit the endless programs reach (tarnik-cli's default when empty).
MAX_STEPS="${MAX_STEPS:-}"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT


mkdir -p "$WORK/class" "$WORK/sum"
for i in $(seq 1 10); do
    n=$((i * 3000))
    printf '%d 3\n' "$n" > "$WORK/sum/$i.in"
    # 1 + 2 + ... + n, then n mod 3
    printf '%d\n%d\n' $((n * (n + 1) / 2)) $((n % 3)) > "$WORK/sum/$i.out"
done

right='input "n="; n
input k
s = 0
for i = 1 to n
    s = s + i
next
print s
print n mod k
'
wrong='input n
input k
s = 0
i = 1
do while i < n
    s = s + i
    i = i + 1
loop
print s
print n mod k
'
endless='input n
input k
s = 0
do while s >= 0
    s = s + 1
loop
'
failing='input n
input k
s = 0
for i = 1 to n
    s = s + i / (n - i)
next
print s
'
for s in $(seq 1 40); do
    case $((s % 8)) in
        0) program="$endless" ;;
        1) program="$wrong" ;;
        2) program="$failing" ;;
        *) program="$right" ;;
    esac
    printf '%s' "$program" > "$WORK/class/学生$s.bas"
done

best() {
    local jobs=$1 bestTime=""
    for _ in $(seq 1 "$REPEAT"); do
        local start end took
        start=$(date +%s.%N)
        "$CLI" grade --jobs "$jobs" ${MAX_STEPS:+--max-steps "$MAX_STEPS"} --csv "$WORK/r.csv" "$WORK/class" "$WORK/sum" > "$WORK/out$jobs.txt"
        end=$(date +%s.%N)
        took=$(echo "$end - $start" | bc)
        if [ -z "$bestTime" ] || [ "$(echo "$took < $bestTime" | bc)" = 1 ]; then bestTime=$took; fi
    done
    echo "$bestTime"
}

one=$(best 1)
two=$(best 2)
cmp -s "$WORK/out1.txt" "$WORK/out2.txt" || { echo "the reports differ between --jobs 1 and 2" >&2; exit 1; }
printf 'programs 40, cases 10, processors %s\n' "$(nproc)"
printf -- '--jobs 1: %.3f s\n--jobs 2: %.3f s\nspeed-up: %.2f\n' "$one" "$two" "$(echo "$one / $two" | bc -l)"
