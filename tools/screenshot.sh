#!/bin/sh
# Takes a screenshot of the desktop program running on the demo folder, on a virtual X display of its own so
# nothing appears on the user's screen. Run tools/make-demo.sh first.
#
# usage: tools/screenshot.sh [options] [OUTPUT.png]          (default output: screenshot.png)
#   --preset NAME     build folder build/NAME (default release); QUILLON_BIN=path overrides the program
#   --demo DIR        folder to run the program from (default demo)
#   --size WxH        size of the virtual screen, which the main window fills (default 800x560); dialogs open
#                     centred on it, so they are in the picture too
#   --keys "K1 K2"    keys to type into the program before the picture, in xdotool names, for example
#                     "alt+h a" for Help > About or "ctrl+n" for New Catalog; a dialog so opened is in the shot
#   --wait SECONDS    time the program gets to load and paint before keys and picture (default 2)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
preset=release
demo=$root/demo
size=800x560
keys=
wait=2
out=screenshot.png
while [ $# -gt 0 ]; do
    case $1 in
        --preset) preset=$2; shift 2 ;;
        --demo) demo=$2; shift 2 ;;
        --size) size=$2; shift 2 ;;
        --keys) keys=$2; shift 2 ;;
        --wait) wait=$2; shift 2 ;;
        -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
        -*) echo "unknown option $1" >&2; exit 2 ;;
        *) out=$1; shift ;;
    esac
done
case $size in
    *[!0-9x]* | x* | *x | *x*x* | [!0-9]*) echo "--size wants WIDTHxHEIGHT, not $size" >&2; exit 2 ;;
    *x*) ;;
    *) echo "--size wants WIDTHxHEIGHT, not $size" >&2; exit 2 ;;
esac
case $out in /*) ;; *) out=$(pwd)/$out ;; esac

bin=${QUILLON_BIN:-}
if [ -z "$bin" ]; then
    for candidate in "$root/build/$preset/src/app/quillon" "$root/build/$preset/src/gui/quillon" \
        "$root/build/$preset/quillon"; do
        if [ -x "$candidate" ]; then bin=$candidate; break; fi
    done
fi
if [ -z "$bin" ] || [ ! -x "$bin" ]; then
    echo "No quillon program in build/$preset; build it (cmake --build --preset $preset) or set QUILLON_BIN." >&2
    exit 1
fi
if [ ! -f "$demo/quillon.ini" ]; then
    echo "No demo in $demo; run tools/make-demo.sh first." >&2
    exit 1
fi

# A free display number: the first without a lock file.
display=90
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done

xvfb_pid=
app_pid=
cleanup() {
    if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT INT TERM

Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
tries=0
until [ -e "/tmp/.X11-unix/X$display" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "Xvfb did not start on :$display" >&2
        exit 1
    fi
    sleep 0.1
done
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb
# The virtual display has no desktop session; keep the program from looking for one.
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS 2>/dev/null || true


(cd "$demo" && exec "$bin") >/dev/null 2>&1 &
app_pid=$!

# The main window's caption; the loading window that comes first has another.
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quillon 1\.5$' 2>/dev/null | head -n 1) || true
if [ -z "$window" ]; then
    echo "The program's main window did not appear within 30 seconds." >&2
    exit 1
fi
width=${size%x*}
height=${size#*x}
xdotool windowmove "$window" 0 0 windowsize "$window" "$width" "$height"
sleep "$wait"

if [ -n "$keys" ]; then
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    for key in $keys; do
        xdotool key --clearmodifiers "$key"
        sleep 0.4
    done
    sleep 1
fi

import -window root "$out"
echo "Saved $out"
