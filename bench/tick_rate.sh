#!/bin/sh
# Steps a second of two windows on Timer1 at a 1 ms interval, side by side on a real X
# display, each in its own program and counted over the same seconds: by default the Markov
# chain window and the feed-forward network window for 2 s, and the ratio of their rates.
# A step's milliseconds are split into processor time and time spent waiting for a
# processor (see tick_rate.cpp). Without DISPLAY it brings up its own display (Xvfb and
# openbox, from the Debian packages xvfb and openbox) on :11, or TICK_RATE_DISPLAY, and
# takes it down afterwards.
#
#   bench/tick_rate.sh [build dir] [seconds] [first kind] [second kind]
#
# The build dir (default build-bench, a Release build) must have the target tick_rate:
#   cmake --build build-bench --target tick_rate
set -eu

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build-bench"}
seconds=${2:-2}
first=${3:-frmMarKovModel}
second=${4:-frmNetworkFeedForward}
tool="$build/bench/tick_rate"
if [ ! -x "$tool" ]; then
    echo "tick_rate.sh: $tool is missing; build it with: cmake --build $build --target tick_rate" >&2
    exit 2
fi

started=""
out=$(mktemp -d)
cleanup() {
    for pid in $started; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$out"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
    for need in Xvfb openbox; do
        if ! command -v "$need" >/dev/null 2>&1; then
            echo "tick_rate.sh: no DISPLAY and no $need; install them: apt-get install xvfb openbox" >&2
            exit 2
        fi
    done
    display=${TICK_RATE_DISPLAY:-:11}
    if [ -e "/tmp/.X${display#:}-lock" ]; then
        echo "tick_rate.sh: display $display is taken; choose another with TICK_RATE_DISPLAY=:N" >&2
        exit 2
    fi
    Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    started="$!"
    # Until the server listens on its socket.
    tries=0
    until [ -S "/tmp/.X11-unix/X${display#:}" ]; do
        tries=$((tries + 1))
        if [ "$tries" -ge 100 ] || ! kill -0 "$started" 2>/dev/null; then
            echo "tick_rate.sh: the X server on $display did not start (is the display number taken?)" >&2
            exit 2
        fi
        sleep 0.1
    done
    if ! kill -0 "$started" 2>/dev/null; then
        echo "tick_rate.sh: the X server on $display stopped at once (is the display number taken?)" >&2
        exit 2
    fi
    DISPLAY="$display" openbox >/dev/null 2>&1 &
    started="$started $!"
    export DISPLAY="$display"
    sleep 1  # the window manager takes over the screen
fi

# Both programs count from the same moment, once both windows are up.
begin=$(($(date +%s) * 1000 + 3000))
QT_QPA_PLATFORM=xcb "$tool" "$first" "$seconds" 0 "$begin" >"$out/1" 2>"$out/1.err" &
one=$!
QT_QPA_PLATFORM=xcb "$tool" "$second" "$seconds" 940 "$begin" >"$out/2" 2>"$out/2.err" &
two=$!
status=0
wait "$one" || status=$?
wait "$two" || status=$?
if [ "$status" -ne 0 ]; then
    cat "$out/1.err" "$out/2.err" >&2
    exit "$status"
fi

printf '%-24s %8s %10s %10s %10s %10s\n' window steps steps/s ms/step cpu-ms queued-ms
cat "$out/1" "$out/2"
awk 'NR == 1 { a = $3; an = $1 } NR == 2 { b = $3; bn = $1 }
     END { if (a > 0 && b > 0) printf "%s / %s: %.2f\n", bn, an, b / a }' "$out/1" "$out/2"
