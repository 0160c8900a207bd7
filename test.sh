#!/usr/bin/env bash
# Installs what is missing, builds the program and runs every test, those of
# the data on a throw-away PostgreSQL server too (stopped at the end, also
# when tests fail).
source "$(dirname "$0")/scripts/common.sh"
source "$ROOT/scripts/pgserver.sh"
install_missing
build
trap pg_stop EXIT
pg_start
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
