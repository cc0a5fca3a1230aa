# Sourced, inside dbus-run-session, by the checks that drive the IDE on a
# private X server (ime-check.sh, a11y-check.sh): a work folder removed at
# the end together with the processes listed in `pids`, a home of its own
# for the IDE's settings and data, and tarnik_start_xvfb, which starts Xvfb
# on a free display and sets DISPLAY.
work="$(mktemp -d)"
pids=()
cleanup() {
    # Some (fcitx5) write their configuration as they end: wait for each.
    for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2> /dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

tarnik_start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$work/display")"
}
