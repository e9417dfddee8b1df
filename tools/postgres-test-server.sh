#!/usr/bin/env bash
# Starts the local PostgreSQL of Debian's "postgresql" package (when it is
# installed and not running) and makes the database "belvorine_test" owned
# by the user who runs the tests, reached over the local socket only, so the
# register tests run on PostgreSQL too. Needs root (or sudo).
set -euo pipefail

database=${BELVORINE_TEST_PGDATABASE:-belvorine_test}
user=$(id -un)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then
        sudo="sudo -n"
    else
        echo "postgres-test-server: not root and no sudo; skipping" >&2
        exit 1
    fi
fi
if ! command -v pg_lsclusters >/dev/null; then
    echo "postgres-test-server: the postgresql package is not installed; skipping" >&2
    exit 1
fi

# The newest cluster of the package; the package's install makes one.
cluster=$(pg_lsclusters --no-header | sort -k1,1n | tail -n 1)
if [ -z "$cluster" ]; then
    echo "postgres-test-server: no PostgreSQL cluster; skipping" >&2
    exit 1
fi
read -r version name _ status _ <<<"$cluster"
if [ "$status" != "online" ]; then
    # Without an init system nobody has made the server's socket folder.
    $sudo install -d -o postgres -g postgres -m 2775 /var/run/postgresql
    $sudo pg_ctlcluster "$version" "$name" start
fi

as_postgres() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        $sudo -u postgres "$@"
    fi
}
if ! as_postgres psql -tAc "SELECT 1 FROM pg_roles WHERE rolname = '$user'" | grep -q 1; then
    as_postgres createuser "$user"
fi
if ! as_postgres psql -tAc "SELECT 1 FROM pg_database WHERE datname = '$database'" | grep -q 1; then
    as_postgres createdb -O "$user" "$database"
fi
echo "postgres-test-server: database $database for $user on cluster $version/$name"
