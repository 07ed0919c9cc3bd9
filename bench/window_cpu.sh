#!/usr/bin/env bash
# The real program's share of one core while it animates the heaviest case
# (a 5 Hz sine on the slowest rope: the whole rope moves at every tick), in
# a real X server (Xvfb, 1920 x 1080), with the window as a user sees it: at
# display scale 1 and 2, in "Plein écran" (F11) at both scales, and in the
# projection layout (F9 then F11) at scale 1. Counts
# the time all the process's threads ran (/proc/PID/task/*/schedstat, in
# nanoseconds) over SECONDS of wall time after a warm-up; the X server's own
# work is not counted.
#
#   bench/window_cpu.sh [BUILD_DIR] [SECONDS]
#
# Needs xvfb-run, xdotool and a window manager (openbox) for F11 and the
# keyboard focus; without openbox the full-screen rows are left out.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
seconds="${2:-20}"
tolvi="$build/bin/tolvi"

if [[ -z "${TOLVI_IN_XVFB:-}" ]]; then
    exec env TOLVI_IN_XVFB=1 xvfb-run -a -s '-screen 0 1920x1080x24' "$0" "$build" "$seconds"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"; [[ -n "${wm:-}" ]] && kill "$wm" 2>/dev/null || true' EXIT
"$tolvi" --end 1 --text 0=5,00 --text 1=500 --text 2=0,1 --text 3=40 --text 4=500 --wave 2 \
    --save-config "$work/sine" >/dev/null

if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
fi

ran() { cat /proc/"$1"/task/*/schedstat | awk '{ns += $1} END {printf "%d", ns}'; }

measure() {  # scale, full (0 window | 1 full screen | 2 projection)
    QT_SCALE_FACTOR="$1" "$tolvi" "$work/sine.P15" >/dev/null 2>&1 &
    local pid=$!
    sleep 3
    if [[ "$2" != 0 ]]; then
        xdotool search --sync --pid "$pid" --onlyvisible --limit 1 windowactivate --sync >/dev/null 2>&1 || true
        [[ "$2" == 2 ]] && xdotool key F9
        xdotool key F11
        sleep 2
    fi
    local before after
    before=$(ran "$pid")
    sleep "$seconds"
    after=$(ran "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    awk -v ns=$((after - before)) -v s="$seconds" -v scale="$1" -v full="$2" 'BEGIN {
        printf "sine_5Hz_slowest_rope  scale %s%s  %.2f %% of a core\n", scale,
               full == 1 ? "  plein ecran 1920x1080" : full == 2 ? "  projection 1920x1080 " : "              ", 100 * ns / 1e9 / s }'
}

measure 1 0
measure 2 0
if [[ -n "${wm:-}" ]]; then
    measure 1 1
    measure 2 1
    measure 1 2
fi
