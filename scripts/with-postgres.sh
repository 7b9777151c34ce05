#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL server: loopback only, its own port, a temporary
# data directory, password authentication. QUOINRY_TEST_PG_URL and PGPASSWORD point the tests
# at it; the server and its directory are gone when the command ends.
#   scripts/with-postgres.sh COMMAND [ARGS...]
set -euo pipefail

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
if [[ -z "$bindir" || ! -x "$bindir/initdb" ]]; then
    echo "with-postgres: PostgreSQL is not installed; PostgreSQL tests will be skipped" >&2
    exec "$@"
fi

dir=$(mktemp -d /tmp/quoinry-pg.XXXXXX)
as_owner=()
if [[ $(id -u) -eq 0 ]]; then
    # initdb refuses to run as root.
    chown postgres: "$dir"
    as_owner=(runuser -u postgres --)
fi

password=$(od -An -N12 -tx1 /dev/urandom | tr -d ' \n')
printf '%s\n' "$password" >"$dir/pwfile"
[[ ${#as_owner[@]} -eq 0 ]] || chown postgres: "$dir/pwfile"

"${as_owner[@]}" "$bindir/initdb" -D "$dir/data" -U quoinry --pwfile="$dir/pwfile" \
    --auth-local=trust --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
    { cat "$dir/initdb.log" >&2; rm -rf "$dir"; exit 1; }

stop() {
    # A test may have left a server process stopped (SIGSTOP); a stopped process would not end.
    local postmaster
    postmaster=$(head -n 1 "$dir/data/postmaster.pid" 2>/dev/null || true)
    if [[ -n "$postmaster" ]]; then
        for stat in /proc/[0-9]*/stat; do
            read -r pid _ _ ppid _ <"$stat" 2>/dev/null || continue
            if [[ "$ppid" == "$postmaster" ]]; then kill -CONT "$pid" 2>/dev/null || true; fi
        done
        kill -CONT "$postmaster" 2>/dev/null || true
    fi
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap stop EXIT

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

started=
for _ in 1 2 3 4 5 6 7 8; do
    port=$((20000 + RANDOM % 40000))
    port_in_use "$port" && continue
    if "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $dir -c fsync=off" start >/dev/null; then
        started=1
        break
    fi
done
if [[ -z "$started" ]]; then
    echo "with-postgres: the server did not start" >&2
    cat "$dir/server.log" >&2 || true
    exit 1
fi

export QUOINRY_TEST_PG_URL="postgresql://quoinry@127.0.0.1:$port/postgres"
export PGPASSWORD="$password"
echo "with-postgres: PostgreSQL $("$bindir/postgres" -V | awk '{print $3}') on 127.0.0.1:$port" >&2
set +e
"$@"
status=$?
set -e
exit "$status"
