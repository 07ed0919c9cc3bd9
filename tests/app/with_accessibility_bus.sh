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
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
tries=0
until [ -s "$work/display" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 200 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.05
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || launcher=/usr/lib/at-spi2-core/at-spi-bus-launcher
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
