#!/usr/bin/env bash
# Installs what is missing, builds, and opens the Tarnik IDE (optionally with FILE).
source "$(dirname "$0")/scripts/setup.sh"
tarnik_install_missing
tarnik_build
if [ -x "$TARNIK_BUILD/bin/tarnik" ]; then
    exec "$TARNIK_BUILD/bin/tarnik" "$@"
fi
echo "The IDE is not built yet; the headless runner is: $TARNIK_BUILD/bin/tarnik-cli" >&2
exit 1
