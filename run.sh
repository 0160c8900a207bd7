#!/usr/bin/env bash
# Installs what is missing, builds the program, creates its database on the
# first run and starts it.
source "$(dirname "$0")/scripts/common.sh"
install_missing
build
"$BUILD/src/data/tarlen-install"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    exec xvfb-run -a "$BUILD/src/app/tarlen"
fi
exec "$BUILD/src/app/tarlen"
