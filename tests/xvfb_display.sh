# Sourced by the tests that need a real X server. start_xvfb starts Xvfb on a free display (a
# display another server holds makes Xvfb end, and the next one is tried), so tests running side
# by side never share one; it exports DISPLAY and leaves its process id in xvfb_pid; the caller
# kills it. The server's own messages go to xvfb_log, which xvfb_report prints should it end.
# Needs a function fail MESSAGE from the caller.

xvfb_pid=""
xvfb_log=""

# Xvfb, and no other server, answers on DISPLAY.
xvfb_answers() {
    local lock="/tmp/.X${DISPLAY#:}-lock"
    for _ in $(seq 50); do
        kill -0 "$xvfb_pid" 2>/dev/null || return 1
        # The display's lock names the server that holds it: ours, not one that was there first.
        [ "$(tr -d ' \n' 2>/dev/null <"$lock")" = "$xvfb_pid" ] 2>/dev/null &&
            xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

start_xvfb() {
    start_xvfb_once && return 0
    xvfb_pid=""
    fail "could not start Xvfb"
}

# Xvfb on display $1, which it refuses (and ends) when another server holds it. Displays are
# tried from 100 on, away from :0 and the low numbers a desktop or another tool may hold: a
# client was seen failing on :0 where Xvfb had just started.
# -noreset: by default the server resets when its last client leaves (the readiness check is one),
# compiling its keymap again; a server that ended there under load was seen twice in CI, just as
# the program came to connect.
start_xvfb_on() {
    [ -n "$xvfb_log" ] || xvfb_log=$(mktemp "${TMPDIR:-/tmp}/velkaro-xvfb.XXXXXX")
    Xvfb ":$1" -screen 0 1280x800x24 -nolisten tcp -noreset >"$xvfb_log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$1"
}

start_xvfb_once() {
    local first=$((100 + ($$ + RANDOM) % 800))
    for n in $(seq "$first" $((first + 20))); do
        [ -e "/tmp/.X$n-lock" ] && continue
        start_xvfb_on "$n"
        xvfb_answers && return 0
        kill "$xvfb_pid" 2>/dev/null || true
    done
    return 1
}

# Says whether the server still runs and, if it ended, what it printed last.
xvfb_report() {
    if kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "Xvfb on $DISPLAY still runs" >&2
    else
        echo "Xvfb on $DISPLAY has ended; it printed:" >&2
        tail -n 20 "$xvfb_log" >&2 || true
    fi
}
