#!/usr/bin/env bash
# The core, tarnik-cli and the core's tests built with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/, and every test run there. The
# first finding stops the test that meets it, and the test fails.
source "$(dirname "$0")/setup.sh"
TARNIK_BUILD="${TARNIK_ASAN_BUILD:-$TARNIK_ROOT/build-asan}"

tarnik_install_missing
tarnik_build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIK_SANITIZE=ON -DTARNIK_BUILD_GUI=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON

# The freed memory AddressSanitizer holds back to catch late uses counts in a
# process's peak memory, which some tests bound; 16 MB of it is plenty here.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:quarantine_size_mb=16"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir "$TARNIK_BUILD" --output-on-failure -j "$(nproc)"

# Runs in several threads at once, under ThreadSanitizer (build-tsan/): only
# the tests that start runs side by side.
TARNIK_BUILD="${TARNIK_TSAN_BUILD:-$TARNIK_ROOT/build-tsan}"
cmake -S "$TARNIK_ROOT" -B "$TARNIK_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNIK_SANITIZE_THREADS=ON -DTARNIK_BUILD_GUI=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
cmake --build "$TARNIK_BUILD" --target ConcurrentRunsTest
export TSAN_OPTIONS="halt_on_error=1"
"$TARNIK_BUILD/bin/ConcurrentRunsTest"
