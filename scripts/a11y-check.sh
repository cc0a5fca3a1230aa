#!/usr/bin/env bash
# Looks at the IDE as a screen reader does: starts it on a private X server
# with the accessibility bus, walks its accessible tree (scripts/a11y-walk.py)
# in the editor, while the debugger is paused with the console open, with
# the test results open, and paused again in 单窗口布局, and lists every object that can take the keyboard
# focus but has no name (its role and its path). Exits 1 when it found one,
# 2 when what it needs cannot be installed or the IDE is not on the bus.
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    source "$(dirname "$0")/setup.sh"
    tarnik_install_missing at-spi2-core python3-pyatspi xvfb xdotool dbus
    cmake -S "$TARNIK_ROOT" -B "$TARNIK_BUILD" -G Ninja > /dev/null
    cmake --build "$TARNIK_BUILD" --target tarnik
    export TARNIK_IDE="$TARNIK_BUILD/bin/tarnik" TARNIK_WALK="$TARNIK_ROOT/scripts/a11y-walk.py"
    exec dbus-run-session -- "$0" --inside
fi

# ---- inside a private session bus ----------------------------------------

source "$(dirname "$0")/private-session.sh"
tarnik_start_xvfb

# The accessibility bus starts on the session bus's demand; Qt speaks to it
# without asking the desktop's settings whether a screen reader runs.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb

# Started now, so that the IDE finds it as it starts; dbus-run-session ends it.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress > /dev/null 2>&1 ||
    { echo "a11y-check: 无障碍总线 (at-spi2-core) 没有启动" >&2; exit 2; }

# A program with one test case, so that 运行测试 has something to show.
printf 'print "你好"\r\nx = 1\r\nprint x\r\n' > "$work/hello.tnk"
mkdir "$work/hello.tests"
printf '你好\n2\n' > "$work/hello.tests/one.out"

"$TARNIK_IDE" "$work/hello.tnk" > "$work/ide.log" 2>&1 &
ide=$!
pids+=($ide)
window="$(timeout 30 xdotool search --sync --onlyvisible --name 'Tarnik$' | head -n 1)"
[ -n "$window" ] || { echo "a11y-check: IDE 的窗口没有出现" >&2; cat "$work/ide.log" >&2; exit 2; }
xdotool windowfocus --sync "$window"
sleep 2

keys() { xdotool key --delay 100 "$@"; sleep 1; }
wait_for_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" > /dev/null ||
        { echo "a11y-check: 窗口「$1」没有出现" >&2; exit 2; }
    sleep 2
}
failed=0
walk() {
    local status=0
    /usr/bin/python3 "$TARNIK_WALK" "$1" || status=$?
    [ "$status" -eq 2 ] && exit 2
    [ "$status" -eq 0 ] || failed=1
}

# The editor with the find and replace bar open.
keys ctrl+h
walk "编辑器"

# Debug pauses before the first statement: the debugger, its record and the console.
keys Escape F8
wait_for_window '调试窗口'
walk "调试中"
xdotool search --onlyvisible --name '调试窗口' windowfocus --sync
keys Escape

# 运行测试 from the 运行 menu.
xdotool windowfocus --sync "$window"
keys alt+r t
wait_for_window '测试结果'
walk "测试结果"

# 单窗口布局 (视图 menu), Debug again: the console, the debugger and its record docked.
keys Escape
xdotool windowfocus --sync "$window"
keys alt+v w F8
sleep 2
walk "单窗口布局调试中"

if [ "$failed" -eq 0 ]; then
    echo "a11y-check: 通过，每个能获得焦点的对象都有名称"
else
    echo "a11y-check: 未通过，见上面列出的对象"
fi
exit "$failed"
