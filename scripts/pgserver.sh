# A throw-away PostgreSQL server for the tests, sourced by test.sh: its own
# data folder under the build folder, run by the unprivileged user
# "postgres" (PostgreSQL refuses to run as root), listening on 127.0.0.1
# only. pg_start makes the program's tables in the database tarlen_wzor,
# which the tests copy, and exports TARLEN_TEST_SERWER (the connection of a
# role that may create databases, not a superuser); pg_stop stops it. A
# second role, TARLEN_TEST_ROLA_Z_HASLEM, must give its password
# (TARLEN_TEST_HASLO, new at every start) and has no rights of its own.

PG_BIN="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)"
PG_PORT="${TARLEN_TEST_PG_PORT:-55432}"
PG_USER=postgres
PG_DIR="$BUILD/pgtest"

as_pg() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u "$PG_USER" -- "$@"; else "$@"; fi
}

pg_stop() {
    if [ -f "$PG_DIR/data/postmaster.pid" ]; then
        as_pg "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
}

pg_start() {
    pg_stop
    rm -rf "$PG_DIR"
    mkdir -p "$PG_DIR"
    if [ "$(id -u)" -eq 0 ]; then
        chown "$PG_USER" "$PG_DIR"
        # A build folder the server's user cannot reach (under /root) gets
        # the server's folder in /tmp instead.
        if ! runuser -u "$PG_USER" -- test -w "$PG_DIR"; then
            PG_DIR="$(mktemp -d /tmp/tarlen-pgtest.XXXXXX)"
            chown "$PG_USER" "$PG_DIR"
        fi
    fi
    as_pg "$PG_BIN/initdb" -D "$PG_DIR/data" -U "$PG_USER" -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
    export TARLEN_TEST_ROLA_Z_HASLEM=tarlen_haslo
    TARLEN_TEST_HASLO="$(head -c 12 /dev/urandom | base64 | tr -d '/+=')"
    export TARLEN_TEST_HASLO
    # The first line that matches decides: this role alone needs its password.
    as_pg sed -i "1i host all $TARLEN_TEST_ROLA_Z_HASLEM 127.0.0.1/32 scram-sha-256" "$PG_DIR/data/pg_hba.conf"
    # Throw-away: its durability is not what the tests check.
    as_pg "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -w -l "$PG_DIR/log" -o "-c listen_addresses=127.0.0.1 -p $PG_PORT \
        -c unix_socket_directories=$PG_DIR -c fsync=off -c synchronous_commit=off -c full_page_writes=off \
        -c max_connections=200" start >/dev/null
    as_pg "$PG_BIN/psql" -h 127.0.0.1 -p "$PG_PORT" -U "$PG_USER" -d postgres -qtA \
        -c "CREATE ROLE tarlen LOGIN CREATEDB" -c "CREATE DATABASE tarlen_wzor OWNER tarlen" \
        -c "CREATE ROLE $TARLEN_TEST_ROLA_Z_HASLEM LOGIN PASSWORD '$TARLEN_TEST_HASLO'" >/dev/null
    export TARLEN_TEST_SERWER="host=127.0.0.1 port=$PG_PORT user=tarlen"
    # The installer records the server in settings of its own, not the machine's.
    XDG_CONFIG_HOME="$PG_DIR/config" XDG_CONFIG_DIRS="$PG_DIR/config" \
        "$BUILD/src/data/tarlen-install" --serwer "$TARLEN_TEST_SERWER dbname=tarlen_wzor" >/dev/null
}
