#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) with a window manager (openbox)
# that frames, places and moves windows as on a person's desktop.
set -euo pipefail
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$work"' EXIT
mkfifo "$work/ready"
exec 3<>"$work/ready" # read and written here: a wait for a server that never writes ends at its time-out
Xvfb -displayfd 3 -screen 0 1280x1000x24 -nolisten tcp -noreset >"$work/log" 2>&1 &
read -r -t 30 -u 3 display || { cat "$work/log" >&2; exit 1; }
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_CACHE_HOME="$work/cache"
# Without the user's settings; openbox runs the start-up command once it manages the screen.
XDG_CONFIG_HOME="$work" openbox --sm-disable --startup "sh -c 'echo >$work/ready'" >>"$work/log" 2>&1 3>&- &
read -r -t 30 -u 3 _ || { cat "$work/log" >&2; exit 1; }
exec 3>&-
"$@"
