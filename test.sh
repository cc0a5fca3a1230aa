#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest; then
# checks the Debian package (scripts/package-test.sh), runs the examples with
# the Windows build of tarnik-cli under wine (scripts/cross-windows.sh), runs
# the core's tests again under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/) and the runs that go side by side under ThreadSanitizer
# (build-tsan/), and each fuzzer for a short while (build-fuzz/). With
# TARNIK_IME_CHECK=1 it also types Chinese through a real input method
# (scripts/ime-check.sh), which needs an X server and more packages. With
# TARNIK_A11Y_CHECK=1 it also walks the IDE's windows as a screen reader
# does and fails on a control without a name (scripts/a11y-check.sh).
source "$(dirname "$0")/scripts/setup.sh"
tarnik_install_missing
tarnik_build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$TARNIK_BUILD" --output-on-failure -j "$(nproc)"

"$TARNIK_ROOT/scripts/package-test.sh"
"$TARNIK_ROOT/scripts/cross-windows.sh"
"$TARNIK_ROOT/scripts/sanitize.sh"
"$TARNIK_ROOT/scripts/fuzz.sh" "${TARNIK_FUZZ_SECONDS:-25}"
if [ "${TARNIK_IME_CHECK:-0}" = 1 ]; then
    "$TARNIK_ROOT/scripts/ime-check.sh"
fi
if [ "${TARNIK_A11Y_CHECK:-0}" = 1 ]; then
    "$TARNIK_ROOT/scripts/a11y-check.sh"
fi
