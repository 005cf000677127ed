# Sourced by the tests that need a real X server. start_xvfb starts Xvfb on a free display, which
# Xvfb picks itself (-displayfd), so tests running side by side never share one; it exports
# DISPLAY and leaves its process id in xvfb_pid; the caller kills it.
# Needs a function fail MESSAGE from the caller.

xvfb_pid=""

start_xvfb() {
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
    kill "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
    rm -f "$display_file"
    fail "could not start Xvfb"
}
