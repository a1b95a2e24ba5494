#!/usr/bin/env bash
# A private PostgreSQL server for the register's tests, kept entirely under
# one folder of the build tree: a cluster made with initdb, its log, and the
# server's Unix socket (no TCP port, so test runs of different build folders
# never meet). The role "rud" may connect without a password (trust, on the
# socket only) and owns the database "rud_test".
#
# Usage: scripts/postgres-test-server.sh start|stop|status DIR
#   start   makes a fresh cluster and starts it unless it already answers;
#           idempotent. DIR/url holds the register location of the test
#           database. When this machine cannot run it, DIR/unavailable says
#           why and the command still succeeds: the tests then skip and say so.
#   stop    stops the server this folder started and removes its cluster;
#           idempotent.
#   status  exits 0 when the server answers.
#
# The server refuses to run as root: under root the cluster belongs to the
# unprivileged "postgres" user (made by the Debian package) and every
# server command runs as that user. When that user cannot reach DIR (a
# build tree under a home of mode 700, as root's is on Debian), the cluster
# and the socket live in a folder made under /var/tmp instead, named in
# DIR/server-files and removed on stop.
set -uo pipefail
cmd=${1:?usage: postgres-test-server.sh start|stop|status DIR}
dir=${2:?usage: postgres-test-server.sh start|stop|status DIR}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
port=5432
role=rud
database=rud_test

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)

# The folder holding the cluster and the socket.
files() { cat "$dir/server-files" 2>/dev/null || echo "$dir"; }

# Runs a server command as the cluster's owner.
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

answers() {
  [ -n "$bin" ] && [ -f "$(files)/data/PG_VERSION" ] &&
    as_owner "$bin/pg_ctl" -D "$(files)/data" status >/dev/null 2>&1 &&
    "$bin/pg_isready" -q -h "$(files)" -p "$port" 2>/dev/null
}

unavailable() {
  echo "$1" > "$dir/unavailable"
  echo "private PostgreSQL server not started: $1"
  exit 0
}

# Removes the folder under /var/tmp that a start made, if any.
remove_server_files() {
  local files
  files=$(cat "$dir/server-files" 2>/dev/null) || return 0
  case "$files" in /var/tmp/rud-postgres-*) rm -rf "$files" ;; esac
  rm -f "$dir/server-files"
}

stop() {
  if [ -n "$bin" ] && [ -f "$(files)/data/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$(files)/data" -m immediate -w stop >/dev/null 2>&1
  fi
  rm -rf "$dir/data" "$dir/url"
  remove_server_files
}

start() {
  rm -f "$dir/unavailable"
  if answers && [ -f "$dir/url" ]; then
    return 0
  fi
  [ -n "$bin" ] && [ -x "$bin/initdb" ] && [ -x "$bin/pg_ctl" ] ||
    unavailable "PostgreSQL's server programs are not installed (package postgresql)"
  if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || unavailable "running as root and there is no user postgres to run the server as"
    command -v runuser >/dev/null || unavailable "running as root and runuser is missing"
  fi
  stop
  local files="$dir"
  if [ "$(id -u)" -eq 0 ] && ! runuser -u postgres -- test -x "$dir" 2>/dev/null; then
    files=$(mktemp -d /var/tmp/rud-postgres-XXXXXX) || unavailable "no folder the postgres user can reach could be made under /var/tmp"
    echo "$files" > "$dir/server-files"
  fi
  # The socket's path must fit a Unix socket address.
  [ "${#files}" -lt 80 ] || unavailable "the folder's path is too long for the server's socket: $files"
  mkdir -p "$files/data"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$files" "$files/data"
  chmod 700 "$files/data"
  as_owner "$bin/initdb" -D "$files/data" -U "$role" --auth=trust -E UTF8 --locale=C.UTF-8 --no-sync \
    >"$dir/initdb.log" 2>&1 || unavailable "initdb failed (see $dir/initdb.log)"
  as_owner "$bin/pg_ctl" -D "$files/data" -l "$files/server.log" -w -t 60 \
    -o "-c listen_addresses= -c unix_socket_directories=$files -p $port -c fsync=off -c max_connections=30" \
    start >/dev/null 2>&1 || unavailable "the server did not start (see $files/server.log)"
  "$bin/createdb" -h "$files" -p "$port" -U "$role" "$database" 2>"$dir/createdb.log" ||
    unavailable "the test database could not be made (see $dir/createdb.log)"
  echo "postgresql://$role@localhost:$port/$database?host=$files" > "$dir/url"
  echo "private PostgreSQL server running: $(cat "$dir/url")"
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  status) answers ;;
  *) echo "usage: postgres-test-server.sh start|stop|status DIR" >&2; exit 2 ;;
esac
