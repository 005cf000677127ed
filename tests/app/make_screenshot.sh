#!/usr/bin/env bash
# Makes the README's picture of the window: the real dialog on Xvfb, after browsing to
# examples/rtk-sample.txt with "开思格式" selected, framed by openbox when it is installed
# (apt-get install openbox) so that the title bar shows; and, with the default OUT, the user's
# manual's pictures of the window, the settings and a result. Run after a build:
#   tests/app/make_screenshot.sh [OUT.png]      (default docs/velkaro-window.png)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-docs/velkaro-window.png}
mkdir -p "$(dirname "$out")"

n=99
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
wm_pid=""
trap 'kill $xvfb_pid ${wm_pid} 2>/dev/null || true' EXIT
export DISPLAY=":$n"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    sleep 1
fi
QT_QPA_PLATFORM=xcb build/tests/velkaro_window_shot "$out" "$PWD/examples/rtk-sample.txt" 1
echo "wrote $out"
if [ $# -eq 0 ]; then
    cp "$out" docs/manual/velkaro-window.png
    QT_QPA_PLATFORM=xcb build/tests/velkaro_window_shot --dialogs docs/manual/velkaro-settings.png \
        docs/manual/velkaro-result.png "$PWD/examples/rtk-sample.txt"
    echo "wrote docs/manual/velkaro-{window,settings,result}.png"
fi
