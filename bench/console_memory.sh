#!/usr/bin/env bash
# The IDE's resident memory while an endless PRINT loop runs: once printing
# lines, once printing with ';' (no line ends). Starts the real IDE under Xvfb
# with the program, presses F9 and prints the resident set every few seconds.
# Not a test: it prints the figures.
#   bench/console_memory.sh [BUILD_DIR]     (default: build/)
# Needs xvfb-run and xdotool. SECONDS_PER_RUN (default 60) and EVERY (default 5)
# set the length of each run and the sampling interval.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${TARNIK_BUILD:-$root/build}}"
ide="$build/bin/tarnik"
[ -x "$ide" ] || { echo "no tarnik in $build: build the tarnik target first" >&2; exit 2; }
for tool in xvfb-run xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb xdotool)" >&2; exit 2; }
done
if [ -z "${TARNIK_UNDER_XVFB:-}" ]; then
    TARNIK_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi

seconds="${SECONDS_PER_RUN:-60}"
every="${EVERY:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The IDE's settings and data go to the scratch folder, not the user's.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

resident_mb() {
    awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"
}

# Starts the IDE with PROGRAM, runs it with F9 and samples for $seconds.
measure() {
    local name="$1" program="$2"
    printf '%s\n' "$program" >"$work/$name.bas"
    "$ide" "$work/$name.bas" &
    local pid=$!
    local window=""
    for _ in $(seq 100); do
        window="$(xdotool search --onlyvisible --pid "$pid" --name 'Tarnik' 2>/dev/null | head -n 1 || true)"
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the IDE window did not appear" >&2; kill "$pid"; exit 1; }
    # Xvfb has no window manager to activate it: focus it directly.
    xdotool windowfocus --sync "$window"
    echo "== $name: before the run $(resident_mb "$pid") MB"
    xdotool key F9
    # The console's caption says the run has begun.
    local started=""
    for _ in $(seq 100); do
        started="$(xdotool search --onlyvisible --pid "$pid" --name '程序运行中' 2>/dev/null | head -n 1 || true)"
        [ -n "$started" ] && break
        sleep 0.1
    done
    [ -n "$started" ] || { echo "F9 did not start the run" >&2; kill "$pid"; exit 1; }
    [ -n "${SHOT:-}" ] && (sleep "$every"; import -window root "$SHOT-$name.png") &
    local peak=0
    for ((t = every; t <= seconds; t += every)); do
        sleep "$every"
        local now
        now="$(resident_mb "$pid")"
        echo "   ${t} s: ${now} MB"
        peak="$(awk -v a="$peak" -v b="$now" 'BEGIN { print (b > a) ? b : a }')"
    done
    echo "   peak: ${peak} MB"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

measure lines $'do while 1 = 1\n    print i\n    i = i + 1\nloop'
measure semicolons $'do while 1 = 1\n    print "x";\nloop'
