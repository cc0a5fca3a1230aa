#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest.
source "$(dirname "$0")/scripts/setup.sh"
tarnik_install_missing
tarnik_build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$TARNIK_BUILD" --output-on-failure -j "$(nproc)"
