#!/bin/sh
# Runs a test program where a screen reader would find it: on an X server of
# its own, in a session bus with the accessibility bus up, so that Qt turns
# its accessibility on and sends the events screen readers listen to.
set -eu
if [ -z "${TOLVI_ACCESSIBILITY_SESSION:-}" ]; then
    TOLVI_ACCESSIBILITY_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
work=$(mktemp -d)
trap 'kill "$bus" "$server" 2>/dev/null || true; rm -rf "$work"' EXIT
# Xvfb names its display once it listens; a display it could not keep (two
# servers started at once can pick the same number) is started again.
start_server() {
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    server=$!
    tries=0
    until [ -s "$work/display" ]; do
        tries=$((tries + 1))
        [ "$tries" -le 400 ] || return 1
        sleep 0.05
    done
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    tries=0
    until xdpyinfo >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -le 100 ] || return 1
        kill -0 "$server" 2>/dev/null || return 1
        sleep 0.05
    done
}
server=
bus=
attempt=0
until start_server; do
    kill "$server" 2>/dev/null || true
    attempt=$((attempt + 1))
    [ "$attempt" -lt 5 ] || { echo "Xvfb did not start" >&2; exit 1; }
done
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || launcher=/usr/lib/at-spi2-core/at-spi-bus-launcher
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
# The accessibility bus answers before the program asks for it.
tries=0
until dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -le 200 ] || break
    sleep 0.05
done
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
