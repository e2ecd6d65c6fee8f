#!/usr/bin/env bash
# Plays the show on a virtual X display: screenshots a few seconds in, then a
# key press, then how long the program took to end and its exit status.
# Usage: play_under_xvfb.sh ZEMRA OUTDIR [zemra options...]
# Writes OUTDIR/shot-N.xwd and OUTDIR/result ("started", "exit_ms N",
# "status N" lines). Runs inside xvfb-run; every wait is bounded.
set -u
zemra=$1
out=$2
shift 2
mkdir -p "$out"
rm -f "$out"/shot-*.xwd "$out/result"

"$zemra" "$@" 2>"$out/stderr" &
pid=$!

# The window appears once the show has loaded.
if ! timeout 20 xdotool search --sync --onlyvisible --name '^Zemra\.$' >"$out/window" 2>/dev/null; then
    echo "no window" >>"$out/result"
    kill -9 "$pid" 2>/dev/null
    wait "$pid"
    echo "status $?" >>"$out/result"
    exit 0
fi
echo "started" >>"$out/result"

for shot in 1 2 3 4; do
    sleep 3
    kill -0 "$pid" 2>/dev/null || break
    xwd -root -silent >"$out/shot-$shot.xwd"
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
