#!/usr/bin/env bash
# Times tarnik-cli side by side with the other BASIC interpreters through the
# shared peer benchmark script, run.sh in the folder ../shared/bench-peers next
# to the repository, and prints its Markdown tables. Its settings (PEERS,
# BENCHES, MIN_RUNS, WARMUP, REPEAT) pass through. Not a test: nothing fails
# on a slow time.
#   bench/run_peers.sh
#   REPEAT=10 PEERS="c yabasic brandy" bench/run_peers.sh
#   TARNIK_CLI=path/to/tarnik-cli bench/run_peers.sh     (default: build/bin/tarnik-cli)
#   TARNIK_PEERS=path/to/bench-peers bench/run_peers.sh  (default: ../shared/bench-peers)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
peers="${TARNIK_PEERS:-$root/../shared/bench-peers}"
cli="${TARNIK_CLI:-$root/build/bin/tarnik-cli}"

[ -f "$peers/run.sh" ] || {
    echo "the peer benchmarks are missing: expected run.sh in the folder ../shared/bench-peers next to the repository, or set TARNIK_PEERS" >&2
    exit 2
}
[ -x "$cli" ] || { echo "no tarnik-cli at $cli: build the tarnik-cli target or set TARNIK_CLI" >&2; exit 2; }
# The peer script works from its own folder, where a relative path would no
# longer name tarnik-cli (it would skip it with only a note).
cli="$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")"
TARNIK_CLI="$cli" exec bash "$peers/run.sh"
