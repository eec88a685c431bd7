#!/usr/bin/env bash
# mariadb_server.sh start|stop|halt|resume <state-file> [server option...]: a private MariaDB server for the
# tests (fresh data folder in a temporary directory, free port on 127.0.0.1,
# a test user); the system's own server is never touched. The state file holds
# key=value lines that tests read through TRESSEL_MARIADB. halt stops the server
# and keeps its data; resume starts it again on the same port. A watchdog stops
# the server when its starter (ctest, or TRESSEL_MARIADB_OWNER) ends.
set -euo pipefail
mode=${1:-} state=${2:-}
if [ -z "$state" ] || ! [[ $mode =~ ^(start|stop|halt|resume)$ ]]; then
    echo "usage: $0 start|stop|halt|resume <state-file> [server option...]" >&2
    exit 2
fi

# The password holds characters that need escaping in PHP and SQL texts, so
# every place that writes it into a script is exercised.
password='Pw"$x\y'"'"'z'
sql_password="'Pw\"\$x\\\\y''z'"

value() { sed -n "s/^$1=//p" "$state" 2>/dev/null | head -n 1; }

# Ends a process and waits until it is gone.
end_process() {
    if [ -n "$1" ] && kill -TERM "$1" 2>/dev/null; then
        for _ in $(seq 150); do kill -0 "$1" 2>/dev/null || break; sleep 0.2; done
        kill -KILL "$1" 2>/dev/null || true
    fi
}

# Stops the server of a folder (with its pid and watchdog) and removes the folder.
stop_server() {
    [ -z "${3:-}" ] || kill "$3" 2>/dev/null || true
    end_process "$2"
    case "$1" in */tressel-mariadb.*) rm -rf "$1" ;; esac
}

as_root=()
[ "$(id -u)" -ne 0 ] || as_root=(--user=root) # mariadbd refuses root unless told

# Starts the server of $dir on $port with the options it was first started
# with; up is 1 once it answers.
launch() {
    local options=()
    mapfile -d '' -t options <"$dir/options"
    : >"$dir/error.log"
    setsid mariadbd --no-defaults --datadir="$dir/data" --socket="$sock" --port="$port" --bind-address=127.0.0.1 \
        --pid-file="$dir/mysqld.pid" --log-error="$dir/error.log" --tmpdir="$dir" --skip-name-resolve \
        --skip-log-bin --max-connections=500 --innodb-buffer-pool-size=64M --innodb-log-file-size=16M \
        --innodb-flush-log-at-trx-commit=0 --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
        "${as_root[@]}" "${options[@]}" </dev/null >/dev/null 2>&1 &
    pid=$! up=0
    for _ in $(seq 300); do
        mariadb-admin --no-defaults --socket="$sock" --user=root ping >/dev/null 2>&1 && up=1 && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
}

case "$mode" in
halt)
    end_process "$(value pid)"
    exit 0
    ;;
resume)
    dir=$(value dir) port=$(value port) sock=$(value socket)
    [ -d "$dir/data" ] || { echo "no halted server in $state" >&2; exit 1; }
    ! mariadb-admin --no-defaults --socket="$sock" --user=root ping >/dev/null 2>&1 || exit 0
    launch
    [ "$up" -eq 1 ] || { cat "$dir/error.log" >&2; kill -KILL "$pid" 2>/dev/null || true; exit 1; }
    sed "s/^pid=.*/pid=$pid/" "$state" >"$state.tmp"
    mv "$state.tmp" "$state"
    exit 0
    ;;
esac

# Stop, or clean up after a run that ended without its stop step.
if [ -e "$state" ]; then
    stop_server "$(value dir)" "$(value pid)" "$(value watchdog)"
    rm -f "$state"
fi
[ "$mode" = start ] || exit 0

dir=$(mktemp -d "${TMPDIR:-/tmp}/tressel-mariadb.XXXXXX")
sock=$dir/mysqld.sock pid="" up=0
fail() { cat "$1" >&2; stop_server "$dir" "$pid"; exit 1; }
mariadb-install-db --no-defaults --datadir="$dir/data" --auth-root-authentication-method=normal --skip-test-db \
    --skip-name-resolve --tmpdir="$dir" "${as_root[@]}" >"$dir/install.log" 2>&1 || fail "$dir/install.log"
: >"$dir/options"
for option in "${@:3}"; do printf '%s\0' "$option" >>"$dir/options"; done

# A port free right now; another program may take it first, hence the retries.
for _ in 1 2 3 4 5; do
    port=$(php -n -r '$n = stream_socket_get_name(stream_socket_server("tcp://127.0.0.1:0"), false);
                      echo substr($n, strrpos($n, ":") + 1);')
    launch
    [ "$up" -eq 0 ] || break
    kill -KILL "$pid" 2>/dev/null || true
    grep -q "Address already in use" "$dir/error.log" || break
done
[ "$up" -eq 1 ] || fail "$dir/error.log"

mariadb --no-defaults --socket="$sock" --user=root <<SQL
CREATE USER 'tressel'@'%' IDENTIFIED BY $sql_password, 'tressel'@'localhost' IDENTIFIED BY $sql_password;
GRANT ALL PRIVILEGES ON *.* TO 'tressel'@'%', 'tressel'@'localhost';
SQL

# The data folder stays while the server is halted, and goes on stop.
setsid bash -c 'while kill -0 "$1" 2>/dev/null && [ -e "$2/data" ]; do sleep 2; done
                [ -e "$2/mysqld.pid" ] && kill -TERM "$(cat "$2/mysqld.pid")" 2>/dev/null; sleep 10; rm -rf "$2"' \
    watchdog "${TRESSEL_MARIADB_OWNER:-$PPID}" "$dir" </dev/null >/dev/null 2>&1 &

printf '%s\n' host=127.0.0.1 "port=$port" "socket=$sock" user=tressel "password=$password" "dir=$dir" "pid=$pid" \
    "watchdog=$!" >"$state.tmp"
mv "$state.tmp" "$state"
echo "MariaDB is running on 127.0.0.1:$port (socket $sock)"
