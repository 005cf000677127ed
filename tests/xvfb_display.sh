# Sourced by the tests that need a real X server. start_xvfb starts Xvfb on a free display, which
# Xvfb picks itself (-displayfd), so tests running side by side never share one; it exports
# DISPLAY and leaves its process id in xvfb_pid; the caller kills it.
# Needs a function fail MESSAGE from the caller.

xvfb_pid=""

# Xvfb has answered on DISPLAY: it named its display, but under a heavy load another server
# starting at the same moment has been seen to take that display away again.
xvfb_answers() {
    for _ in $(seq 50); do
        kill -0 "$xvfb_pid" 2>/dev/null || return 1
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

start_xvfb() {
    for _ in 1 2 3; do
        start_xvfb_once && xvfb_answers && return 0
        kill "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    done
    fail "could not start Xvfb"
}

start_xvfb_once() {
    local display_file
    display_file=$(mktemp "${TMPDIR:-/tmp}/velkaro-xvfb.XXXXXX")
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [ -s "$display_file" ]; then
            export DISPLAY=":$(head -n 1 "$display_file")"
            rm -f "$display_file"
            return 0
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$display_file"
    return 1
}
