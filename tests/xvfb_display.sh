# Sourced by the tests that need a real X server. start_xvfb starts Xvfb on the first free
# display from :91 on, exports DISPLAY and leaves its process id in xvfb_pid; the caller kills it.
# Needs a function fail MESSAGE from the caller.

xvfb_pid=""

start_xvfb() {
    local n
    for n in $(seq 91 160); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            if [ -e "/tmp/.X11-unix/X$n" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    done
    fail "could not start Xvfb"
}
