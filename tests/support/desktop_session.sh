#!/usr/bin/env bash
# Runs a command on a desktop of its own: a private X server (Xvfb) on the
# first free display number, with a window manager (openbox) that frames,
# places and moves windows as on a person's desktop. Window placement only
# shows its faults there: offscreen, and on a bare X server, windows go
# exactly where the program puts them.
# usage: desktop_session.sh command [argument...]
set -euo pipefail

work=$(mktemp -d)
server=
manager=
finish() {
    for pid in $manager $server; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "desktop_session: $1" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
    done
    exit 1
}

# Each program tells through a pipe that it is ready; the pipes are opened
# for reading and writing, so that a program that never writes ends the
# wait at its time-out instead of blocking the open.
mkfifo "$work/display" "$work/manager"
exec 3<>"$work/display" 4<>"$work/manager"

# Xvfb writes the display number it took once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1000x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 3>&3 4>&- &
server=$!
read -r -t 30 -u 3 display || fail "the X server did not start"
export DISPLAY=":$display"

# openbox with its own settings only, never the user's; it runs the start-up
# command once it manages the screen (and passes no open descriptors on).
mkdir -p "$work/config"
XDG_CONFIG_HOME="$work/config" openbox --sm-disable --startup "sh -c 'echo ready >$work/manager'" \
    >"$work/openbox.log" 2>&1 3>&- 4>&- &
manager=$!
read -r -t 30 -u 4 _ || fail "the window manager did not start"
exec 3>&- 4>&-

export QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit "$status"
