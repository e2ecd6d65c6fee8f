#!/usr/bin/env bash
# Plays the show on a virtual X display for the end-to-end test: takes a
# screenshot every 1.5 seconds (OUTDIR/shot-N.xwd) until the test creates
# OUTDIR/press, then presses a key and records how long the program took to
# end and its exit status in OUTDIR/result ("started", "exit_ms N",
# "status N"). Runs inside xvfb-run; every wait is bounded.
# Usage: play_under_xvfb.sh ZEMRA OUTDIR [zemra options...]
set -u
zemra=$1
out=$2
shift 2

"$zemra" "$@" 2>"$out/stderr" &
pid=$!

# The window appears before the loading starts.
if ! timeout 90 xdotool search --sync --onlyvisible --name '^Zemra\.$' >"$out/window" 2>/dev/null; then
    echo "no window" >>"$out/result"
    kill -9 "$pid" 2>/dev/null
    wait "$pid"
    echo "status $?" >>"$out/result"
    exit 0
fi
echo "started" >>"$out/result"

for shot in $(seq 1 60); do
    [ -e "$out/press" ] && break
    sleep 1.5
    kill -0 "$pid" 2>/dev/null || break
    xwd -root -silent >"$out/shot.tmp" && mv "$out/shot.tmp" "$out/shot-$shot.xwd"
done

if kill -0 "$pid" 2>/dev/null; then
    # Without a window manager nothing gives the window the focus: put the
    # pointer on it and focus it, then press a key.
    window=$(head -n 1 "$out/window")
    xdotool mousemove --window "$window" 20 20 windowfocus --sync "$window" 2>/dev/null
    start=$(date +%s%N)
    xdotool key space
    for _ in $(seq 1 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    end=$(date +%s%N)
    echo "exit_ms $(((end - start) / 1000000))" >>"$out/result"
    kill -9 "$pid" 2>/dev/null
else
    echo "ended early" >>"$out/result"
fi
wait "$pid"
echo "status $?" >>"$out/result"
