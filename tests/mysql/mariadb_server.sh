#!/usr/bin/env bash
# Starts and stops a private MariaDB server for the tests: a fresh data
# folder in a temporary directory, its own socket, a free TCP port on
# 127.0.0.1 and a test user. The system's own server is never touched.
#
#   mariadb_server.sh start <state-file>   start, then write the state file
#   mariadb_server.sh stop <state-file>    stop the server and remove it all
#
# The state file holds key=value lines (host, port, socket, user, password,
# dir, pid); tests read it through TRESSEL_MARIADB.
#
# A watchdog stops the server when the process that started it (ctest, or
# TRESSEL_MARIADB_OWNER) ends, so an interrupted test run leaves nothing.
set -euo pipefail

mode=${1:-}
state=${2:-}
if [ -z "$mode" ] || [ -z "$state" ]; then
    echo "usage: $0 start|stop <state-file>" >&2
    exit 2
fi

# The test user's password holds characters that need escaping in PHP and SQL
# texts, so every place that writes it into a script is exercised.
test_user=tressel
test_password='Pw"$x\y'"'"'z'
# The same password as an SQL string literal.
sql_password="'Pw\"\$x\\\\y''z'"

state_value() {
    sed -n "s/^$1=//p" "$state" 2>/dev/null | head -n 1
}

stop_server() {
    local dir=$1 pid=$2 watchdog=${3:-}
    if [ -n "$watchdog" ] && [ "$watchdog" != "$$" ]; then
        kill "$watchdog" 2>/dev/null || true
    fi
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null || true
        for _ in $(seq 1 150); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.2
        done
        kill -KILL "$pid" 2>/dev/null || true
    fi
    case "$dir" in
        */tressel-mariadb.*) rm -rf "$dir" ;;
    esac
}

free_port() {
    # Asks the kernel for a port that is free right now.
    php -n -r '$s = stream_socket_server("tcp://127.0.0.1:0", $no, $text); $n = stream_socket_get_name($s, false);
               echo substr($n, strrpos($n, ":") + 1);'
}

start() {
    if [ -e "$state" ]; then
        # A state file from a run that ended without its stop step.
        stop_server "$(state_value dir)" "$(state_value pid)" "$(state_value watchdog)"
        rm -f "$state"
    fi

    local dir user_opt=()
    dir=$(mktemp -d "${TMPDIR:-/tmp}/tressel-mariadb.XXXXXX")
    # mariadbd refuses to run as root unless told to.
    [ "$(id -u)" -ne 0 ] || user_opt=(--user=root)

    if ! mariadb-install-db --no-defaults --datadir="$dir/data" --auth-root-authentication-method=normal \
        --skip-test-db --skip-name-resolve "${user_opt[@]}" >"$dir/install.log" 2>&1; then
        cat "$dir/install.log" >&2
        stop_server "$dir" ""
        exit 1
    fi

    local sock="$dir/mysqld.sock" port pid="" attempt up=0
    for attempt in 1 2 3 4 5; do
        port=$(free_port)
        : >"$dir/error.log"
        setsid mariadbd --no-defaults --datadir="$dir/data" --socket="$sock" --port="$port" \
            --bind-address=127.0.0.1 --pid-file="$dir/mysqld.pid" --log-error="$dir/error.log" \
            --tmpdir="$dir" --skip-name-resolve --skip-log-bin --max-connections=500 \
            --innodb-buffer-pool-size=64M --innodb-log-file-size=16M --innodb-flush-log-at-trx-commit=0 \
            --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
            "${user_opt[@]}" </dev/null >/dev/null 2>&1 &
        pid=$!
        for _ in $(seq 1 300); do
            if mariadb-admin --no-defaults --socket="$sock" --user=root ping >/dev/null 2>&1; then
                up=1
                break
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.2
        done
        [ "$up" -eq 1 ] && break
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        # Another program may have taken the port in the meantime: try again.
        grep -q "Address already in use" "$dir/error.log" || break
    done
    if [ "$up" -ne 1 ]; then
        echo "MariaDB did not start; its log:" >&2
        cat "$dir/error.log" >&2
        stop_server "$dir" "$pid"
        exit 1
    fi

    mariadb --no-defaults --socket="$sock" --user=root <<SQL
CREATE USER '$test_user'@'%' IDENTIFIED BY $sql_password;
CREATE USER '$test_user'@'localhost' IDENTIFIED BY $sql_password;
GRANT ALL PRIVILEGES ON *.* TO '$test_user'@'%';
GRANT ALL PRIVILEGES ON *.* TO '$test_user'@'localhost';
SQL

    # Stops the server once the owner is gone, whatever way the run ended.
    local owner=${TRESSEL_MARIADB_OWNER:-$PPID}
    setsid bash -c 'while kill -0 "$1" 2>/dev/null && [ -e "$2" ]; do sleep 2; done
                    [ -e "$2" ] && kill -TERM "$3" 2>/dev/null
                    sleep 10; case "$4" in */tressel-mariadb.*) rm -rf "$4" ;; esac' \
        watchdog "$owner" "$dir/mysqld.sock" "$pid" "$dir" </dev/null >/dev/null 2>&1 &
    local watchdog=$!

    local tmp_state="$state.tmp"
    {
        echo "host=127.0.0.1"
        echo "port=$port"
        echo "socket=$sock"
        echo "user=$test_user"
        echo "password=$test_password"
        echo "dir=$dir"
        echo "pid=$pid"
        echo "watchdog=$watchdog"
    } >"$tmp_state"
    mv "$tmp_state" "$state"
    echo "MariaDB is running on 127.0.0.1:$port (socket $sock)"
}

stop() {
    if [ ! -e "$state" ]; then
        echo "no server state in $state" >&2
        exit 0
    fi
    stop_server "$(state_value dir)" "$(state_value pid)" "$(state_value watchdog)"
    rm -f "$state"
    echo "MariaDB stopped"
}

case "$mode" in
    start) start ;;
    stop) stop ;;
    *) echo "usage: $0 start|stop <state-file>" >&2; exit 2 ;;
esac
