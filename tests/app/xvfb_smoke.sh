#!/usr/bin/env bash
# Smoke test of the real program on a real X server (Xvfb): the window appears under its title at
# the size its template gives, the background's context menu opens the about box and Esc closes
# it, and Esc then ends the program with status 0.
# Usage: xvfb_smoke.sh VELKARO_BINARY WINDOW_SHOT_TOOL
# Exits 77 (skipped) only when Xvfb or xdotool is not installed.
set -euo pipefail

velkaro=$1
shot_tool=$2
for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps test installs it)"
        exit 77
    fi
done
export LC_ALL=C.UTF-8

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

source "$(dirname "$0")/../xvfb_display.sh"
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    [ -n "$xvfb_log" ] && rm -f "$xvfb_log"
}
trap cleanup EXIT

# Waits up to ${2:-10} s for a window whose title is exactly $1 and prints its id.
find_window() {
    local id
    for _ in $(seq $((${2:-10} * 10))); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

window_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

expected_size=$(QT_QPA_PLATFORM=offscreen "$shot_tool" --size 2>/dev/null)
start_xvfb
QT_QPA_PLATFORM=xcb "$velkaro" &
app_pid=$!

main=$(find_window "RTK格式转换工具") || { xvfb_report; fail "no window titled RTK格式转换工具"; }
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "${WIDTH}x${HEIGHT}" = "$expected_size" ] || fail "window is ${WIDTH}x${HEIGHT}, expected $expected_size"
echo "main window $main: ${WIDTH}x${HEIGHT} at $X,$Y"

# A right click on the picture, then the entry's access key A; tried again should the menu
# have been slow to open on a loaded machine.
about=""
for attempt in 1 2 3; do
    xdotool mousemove --window "$main" 30 30 click 3
    sleep "0.$((attempt * 3))"
    xdotool key a
    about=$(find_window "关于 Velkaro" 3) && break
done
[ -n "$about" ] || fail "the about box did not open"
echo "about box $about open"
xdotool key Escape
window_gone "关于 Velkaro" || fail "Esc did not close the about box"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended with the about box"

xdotool windowfocus --sync "$main"
xdotool key Escape
for _ in $(seq 100); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app_pid" 2>/dev/null && fail "Esc did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "PASS: the program ended with status 0"
