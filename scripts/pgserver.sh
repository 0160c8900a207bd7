# A throw-away PostgreSQL server for the tests, sourced by test.sh: its own
# data folder under the build folder, run by the unprivileged user
# "postgres" (PostgreSQL refuses to run as root), listening on 127.0.0.1 only.
# pg_start exports TARLEN_TEST_SERWER (the connection of a role that may
# create databases, not a superuser); pg_stop stops the server.

PG_BIN="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)"
PG_DATA="$BUILD/pgtest/data"
PG_SOCK="$BUILD/pgtest/sock"
PG_PORT="${TARLEN_TEST_PG_PORT:-55432}"
PG_USER=postgres

as_pg() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u "$PG_USER" -- "$@"; else "$@"; fi
}

pg_stop() {
    [ -f "$PG_DATA/postmaster.pid" ] && as_pg "$PG_BIN/pg_ctl" -D "$PG_DATA" -m immediate -w stop >/dev/null 2>&1
    return 0
}

pg_start() {
    pg_stop
    rm -rf "$BUILD/pgtest"
    mkdir -p "$PG_DATA" "$PG_SOCK"
    [ "$(id -u)" -eq 0 ] && chown -R "$PG_USER" "$BUILD/pgtest"
    # The server's user must reach its folder through the build folder.
    [ "$(id -u)" -eq 0 ] && chmod o+x "$BUILD" "$(dirname "$BUILD")" 2>/dev/null
    as_pg "$PG_BIN/initdb" -D "$PG_DATA" -U "$PG_USER" -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
    # A throw-away server: durability is not tested through it.
    as_pg "$PG_BIN/pg_ctl" -D "$PG_DATA" -w -l "$BUILD/pgtest/log" \
        -o "-c listen_addresses=127.0.0.1 -p $PG_PORT -k $PG_SOCK -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
        start >/dev/null
    as_pg "$PG_BIN/psql" -h 127.0.0.1 -p "$PG_PORT" -U "$PG_USER" -d postgres -qtA \
        -c "CREATE ROLE tarlen LOGIN CREATEDB" -c "CREATE DATABASE tarlen_wzor OWNER tarlen" >/dev/null
    export TARLEN_TEST_SERWER="host=127.0.0.1 port=$PG_PORT dbname=tarlen_wzor user=tarlen"
}
