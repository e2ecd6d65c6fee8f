#!/usr/bin/env bash
# Plays the show on a virtual X display for the end-to-end test: takes a
# screenshot every 1.5 seconds (OUTDIR/shot-N.xwd) until the test creates
# OUTDIR/press, then presses a key and records how long the program took to
# end and its exit status in OUTDIR/result ("started", "exit_ms N",
# "status N"). Runs inside xvfb-run; every wait is bounded.
# Usage: play_under_xvfb.sh ZEMRA OUTDIR [zemra options...]
# Before the key that ends it, STEPS (if set) are played in order:
# "key:NAME" presses a key, "click:X,Y" clicks at window pixel (X, Y),
# "shot:NAME" takes a screenshot OUTDIR/NAME.xwd once the screen has
# answered the steps before it (see settled_shot), "save" writes the file
# EDITED_SCRIPT over SCRIPT_FILE as an editor saves it. END_KEY is the key that
# ends the show (space unless set). The window's place on the screen is
# written to OUTDIR/geometry (X=, Y=, WIDTH=, HEIGHT= lines).
set -u
zemra=$1
out=$2
shift 2

# Takes OUTDIR/NAME.xwd once the screen differs from the previous named shot
# (the steps since have been answered) and then holds still for half a
# second; a loaded machine may take its time, so up to 30 s are given, after
# which the last look is kept and the test's checks say what is wrong.
settled_shot() {
    local look=$out/look.xwd last=$out/last.xwd
    rm -f "$last"
    for _ in $(seq 1 60); do
        sleep 0.5
        xwd -root -silent >"$look" || continue
        [ -e "$out/previous.xwd" ] && cmp -s "$look" "$out/previous.xwd" && continue
        [ -e "$last" ] && cmp -s "$look" "$last" && break
        mv "$look" "$last"
    done
    [ -e "$last" ] || mv "$look" "$last"
    cp "$last" "$out/previous.xwd"
    mv "$last" "$out/$1.xwd"
}

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
    xdotool getwindowgeometry --shell "$window" >"$out/geometry" 2>/dev/null
    for step in ${STEPS:-}; do
        case $step in
        key:*) xdotool key "${step#key:}" ;;
        click:*)
            at=${step#click:}
            xdotool mousemove --window "$window" "${at%,*}" "${at#*,}" click 1
            ;;
        save) cat "$EDITED_SCRIPT" >"$SCRIPT_FILE" ;;
        shot:*) settled_shot "${step#shot:}" ;;
        esac
        sleep 0.2
    done
    start=$(date +%s%N)
    xdotool key "${END_KEY:-space}"
    for _ in $(seq 1 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    end=$(date +%s%N)
    echo "exit_ms $(((end - start) / 1000000))" >>"$out/result"
    rm -f "$out/previous.xwd" "$out/look.xwd"
    kill -9 "$pid" 2>/dev/null
else
    echo "ended early" >>"$out/result"
fi
wait "$pid"
echo "status $?" >>"$out/result"
