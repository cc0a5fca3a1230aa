#!/usr/bin/env bash
# tarnik-cli for 64-bit Windows: the core and the runner cross-compiled with
# MinGW-w64 into build-windows/bin/tarnik-cli.exe (the IDE needs Qt for
# Windows, which Debian does not have), then run under wine: every example
# with its answers against its expected output, and every test file through
# `format` and `check` against the Linux build's answers (build/, when built).
source "$(dirname "$0")/setup.sh"
TARNIK_WINDOWS_BUILD="${TARNIK_WINDOWS_BUILD:-$TARNIK_ROOT/build-windows}"

tarnik_install_missing g++-mingw-w64-x86-64-posix wine wine64
cmake -S "$TARNIK_ROOT" -B "$TARNIK_WINDOWS_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TARNIK_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DTARNIK_BUILD_GUI=OFF -DBUILD_TESTING=OFF
cmake --build "$TARNIK_WINDOWS_BUILD" --target tarnik-cli

# wine keeps its Windows in a folder of our own, made on first use; without
# Mono and Gecko it asks nothing, and it says nothing but what the program says.
export WINEPREFIX="$TARNIK_WINDOWS_BUILD/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
echo "== Preparing wine in $WINEPREFIX"
wineboot --init > "$TARNIK_WINDOWS_BUILD/wineboot.log" 2>&1
wineserver --wait

cd "$TARNIK_ROOT"
exe="${TARNIK_WINDOWS_BUILD#"$TARNIK_ROOT/"}/bin/tarnik-cli.exe"
native="$TARNIK_BUILD/bin/tarnik-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# tarnik-cli.exe under wine with arguments "$@", its standard input from
# $input; standard output and the exit status left in $work.
run_windows() {
    local status=0
    wine "$exe" "$@" < "$input" > "$work/out" 2> "$work/err" || status=$?
    echo "$status" > "$work/status"
}

same_as_expected() {
    [ "$(cat "$work/status")" = 0 ] && cmp -s "$work/out" "$1" ||
        { diff "$work/out" "$1" | head -n 10; cat "$work/err"; false; }
}

# The same standard output and exit status as the Linux build's.
same_as_native() {
    local status=0
    "$native" "$@" < /dev/null > "$work/native-out" 2> /dev/null || status=$?
    [ "$(cat "$work/status")" = "$status" ] && cmp -s "$work/out" "$work/native-out" ||
        { diff "$work/out" "$work/native-out" | head -n 10; false; }
}

for program in examples/*.bas; do
    input="${program%.bas}.in"
    [ -f "$input" ] || input=/dev/null
    run_windows run "$program"
    tarnik_check "run $program" same_as_expected "${program%.bas}.out"
done

# Programs with bytes GBK cannot read, each to become U+FFFD with reading going
# on at the next byte: a lead byte at the very end, a lead byte before a blank,
# a byte no character starts with; and the euro sign, the middle dot and the
# em dash, where GBK tables tend to differ. (In the user-defined areas, such
# as FE FE, Windows gives private-use characters where iconv gives U+FFFD.)
write_gbk_cases() {
    printf 'print "\xd6\xd0\x81' > "$work/gbk-lead-at-end.bas"
    printf 'print "\xd6\xd0\x81 x"\r\n' > "$work/gbk-lead-before-blank.bas"
    printf 'print "\xff\xd6\xd0"\n' > "$work/gbk-undefined-byte.bas"
    printf 'print "\x80\xa1\xa4\xa1\xaa\xd6\xd0"\n' > "$work/gbk-euro-dot-dash.bas"
}

if [ -x "$native" ]; then
    input=/dev/null
    write_gbk_cases
    for file in tests/data/*.bas "$work"/gbk-*.bas; do
        for command in format check; do
            run_windows "$command" "$file"
            tarnik_check "$command $file" same_as_native "$command" "$file"
        done
    done
else
    echo "No Linux build in $TARNIK_BUILD: the test files are not compared"
fi

wineserver --wait
tarnik_checks_done "Windows (wine)"
