#!/usr/bin/env bash
# Shared by run.sh and test.sh: install whatever Debian packages are missing,
# then configure and build into build/. Sourced, not run.
set -euo pipefail

TARNIK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TARNIK_BUILD="${TARNIK_BUILD:-$TARNIK_ROOT/build}"

# Packages the build, the tests and the IDE need on a fresh Debian 12
# (librsvg2-bin draws the icon's PNG sizes).
TARNIK_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libzip-dev libexpat1-dev
    qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-translations-l10n qt6-qpa-plugins
    libgl-dev fonts-noto-cjk
    librsvg2-bin
)

tarnik_install_missing() {
    local missing=()
    for pkg in "${TARNIK_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

tarnik_build() {
    cmake -S "$TARNIK_ROOT" -B "$TARNIK_BUILD" -G Ninja "$@"
    cmake --build "$TARNIK_BUILD"
}

# For the scripts that count their checks: `tarnik_check NAME COMMAND...` runs
# the command and counts it as passed or failed (naming it when it failed);
# `tarnik_checks_done LABEL` prints the counts and fails when any check did.
TARNIK_CHECKS_PASSED=0
TARNIK_CHECKS_FAILED=0
tarnik_check() {
    local name="$1"
    shift
    if "$@"; then
        TARNIK_CHECKS_PASSED=$((TARNIK_CHECKS_PASSED + 1))
    else
        TARNIK_CHECKS_FAILED=$((TARNIK_CHECKS_FAILED + 1))
        echo "FAILED: $name"
    fi
}

tarnik_checks_done() {
    echo "$1: $TARNIK_CHECKS_PASSED passed, $TARNIK_CHECKS_FAILED failed"
    [ "$TARNIK_CHECKS_FAILED" -eq 0 ]
}
