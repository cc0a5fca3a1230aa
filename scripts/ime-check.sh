#!/usr/bin/env bash
# Types Chinese into the IDE through a real input method (fcitx5 with Pinyin
# and its Qt 6 front end) on a private X server and session bus, the way a
# beginner types, and checks the editor's text through the clipboard:
# a cancelled composition leaves the file unchanged, a committed one is
# text, a click, Ctrl+Home or Ctrl+Z during a composition leave nothing in
# the wrong place, and 全角转半角 mends the full-width punctuation Pinyin
# gives. Prints one line per check and exits 1 when one failed, 2 when the
# input method cannot be installed. A screenshot of the last state is kept
# as ime-check.png in the build folder (the full-width
# brackets underlined, before 全角转半角).
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
    source "$(dirname "$0")/setup.sh"
    for pkg in fcitx5-frontend-qt6 fcitx5-chinese-addons; do
        if ! apt-cache show "$pkg" > /dev/null 2>&1; then
            echo "ime-check: 此系统的软件源中没有 $pkg，无法安装带 Qt 6 前端的拼音输入法，检查没有运行。" >&2
            exit 2
        fi
    done
    tarnik_install_missing fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6 xvfb xdotool xclip imagemagick dbus
    cmake -S "$TARNIK_ROOT" -B "$TARNIK_BUILD" -G Ninja > /dev/null
    cmake --build "$TARNIK_BUILD" --target tarnik
    export TARNIK_IDE="$TARNIK_BUILD/bin/tarnik" TARNIK_SHOT="$TARNIK_BUILD/ime-check.png"
    exec dbus-run-session -- "$0" --inside
fi

# ---- inside a private session bus ----------------------------------------

source "$(dirname "$0")/private-session.sh"
# fcitx5's configuration, in the home of its own.
mkdir -p "$XDG_CONFIG_HOME/fcitx5/conf"
cat > "$XDG_CONFIG_HOME/fcitx5/profile" << 'EOF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
EOF
# No cloud candidates (no network here), nothing but Pinyin's own words.
cat > "$XDG_CONFIG_HOME/fcitx5/config" << 'EOF'
[Behavior]
ActiveByDefault=False
ShareInputState=All

[Behavior/DisabledAddons]
0=cloudpinyin
EOF

tarnik_start_xvfb

fcitx5 --disable=cloudpinyin,notificationitem,kimpanel > "$work/fcitx5.log" 2>&1 &
pids+=($!)
# Asked through fcitx5-remote, the bus would start a second fcitx5.
fcitx_on_bus() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2> /dev/null | grep -q 'boolean true'
}
for _ in $(seq 200); do fcitx_on_bus && break; sleep 0.1; done
fcitx_on_bus || { echo "ime-check: fcitx5 没有启动：" >&2; cat "$work/fcitx5.log" >&2; exit 2; }

export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx QT_QPA_PLATFORM=xcb
passed=0
failed=0

# ---- driving the IDE -----------------------------------------------------

ide=""
window=""
starts=0
# Each start gets a data folder of its own: the IDE stopped before left its
# unsaved text there, which the next start would offer to recover.
start_ide() {
    starts=$((starts + 1))
    XDG_DATA_HOME="$work/data$starts" "$TARNIK_IDE" > "$work/ide.log" 2>&1 &
    ide=$!
    window="$(timeout 30 xdotool search --sync --onlyvisible --name 'Tarnik$' | head -n 1)"
    [ -n "$window" ] || { echo "ime-check: IDE 的窗口没有出现" >&2; exit 1; }
    xdotool windowmove "$window" 0 0
    xdotool windowfocus --sync "$window"
    sleep 1
}
stop_ide() {
    kill "$ide" 2> /dev/null || true
    wait "$ide" 2> /dev/null || true
}
pinyin_on() { fcitx5-remote -o; sleep 0.3; }
pinyin_off() { fcitx5-remote -c; sleep 0.3; }
keys() { xdotool key --delay 80 "$@"; sleep 0.5; }
type_text() { xdotool type --delay 80 "$1"; sleep 0.5; }
# The editor's text as the user would copy it; Ctrl+A and Ctrl+C leave the
# text itself as it is.
editor_text() {
    keys ctrl+a ctrl+c
    xclip -o -selection clipboard 2> /dev/null || true
}
title() { xdotool getwindowname "$window"; }
# A point inside line $1 (from 1) of the editor, at the window's place and
# size of a first start (0,0; the editor's first line 90 to 114 pixels down).
click_line() {
    xdotool mousemove --window "$window" 60 $((90 + 24 * ($1 - 1) + 12)) click 1
    sleep 0.5
}
check() {
    local name="$1" actual="$2" expected="$3"
    if [ "$actual" = "$expected" ]; then
        passed=$((passed + 1))
        echo "通过: $name"
    else
        failed=$((failed + 1))
        echo "未通过: $name"
        echo "    期望: $(printf '%q' "$expected")"
        echo "    实际: $(printf '%q' "$actual")"
    fi
}
# Two lines typed with Pinyin off, the caret at the end of the second.
two_lines() {
    pinyin_off
    type_text "print 1"
    keys Return
    type_text "print 2"
}

# ---- the checks (Pinyin gives a half-width comma after a digit) ------------------------------------------------------------

start_ide
pinyin_on
type_text "ni"
keys Escape
check "取消的拼音不改动文本" "$(editor_text)" ""
check "取消的拼音不在标题上加星号" "$(title)" "[新文件] - Tarnik"

type_text "nihao"
check "正在输入的拼音不在标题上加星号" "$(title)" "[新文件] - Tarnik"
keys space
check "选定的词成为文本" "$(editor_text)" "你好"
check "选定的词在标题上加星号" "$(title)" "[新文件 *] - Tarnik"
stop_ide

start_ide
two_lines
pinyin_on
type_text "nihao"
click_line 1
keys Home
type_text "wo"
keys space
# fcitx5 commits the pinyin as shown («ni hao») when the IDE resets it; the
# lines the caret has left are in their finished form.
check "输入中点击别的行：拼音留在原处，新的字在点击处" "$(editor_text)" "$(printf '我Print 1\nPrint 2 ni hao')"
stop_ide

start_ide
two_lines
pinyin_on
type_text "nihao"
keys ctrl+Home
type_text "wo"
keys space
check "输入中按 Ctrl+Home：拼音留在原处，新的字在第 1 行" "$(editor_text)" "$(printf '我Print 1\nPrint 2 ni hao')"
stop_ide

start_ide
two_lines
pinyin_on
type_text "nihao"
keys ctrl+z
check "输入中按 Ctrl+Z：只撤销正在输入的拼音" "$(editor_text)" "$(printf 'Print 1\nprint 2')"
stop_ide

start_ide
pinyin_off
type_text "print "
pinyin_on
type_text "(1,2)"
check "拼音输入法给出全角标点" "$(editor_text)" "print （1,2）"
keys End
import -window root "$TARNIK_SHOT"
keys alt+e w p
check "全角转半角（整个程序）" "$(editor_text)" "print (1,2)"
keys ctrl+z
check "一次撤销恢复全角" "$(editor_text)" "print （1,2）"
stop_ide

echo "共 $((passed + failed)) 项: 通过 $passed 项, 未通过 $failed 项"
[ "$failed" -eq 0 ]
