#!/bin/bash
# The real program on a virtual display: type a name, move the window, quit
# through the menu; the next start shows the same card at the same place.
# Usage: wizard_restart.sh <tessaro> <build-dir>
set -euo pipefail

program=$1
work=$(mktemp -d)
xvfb_pid=
app_pid=

cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb LANG=de_DE.UTF-8
unset SESSION_MANAGER

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "no virtual display"
export DISPLAY=:$(cat "$work/display")

window=
start_program() {
    "$program" >"$work/program.log" 2>&1 &
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tessaro$' | head -1) || fail "no main window"
    # Without a window manager the window gets the focus from us.
    xdotool windowfocus "$window"
    sleep 3 # the splash stays two seconds
}

quit_program() {
    xdotool windowfocus "$window"
    xdotool key alt+d
    sleep 0.5
    xdotool key b
    for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app_pid" 2>/dev/null; then fail "the program did not end through Datei / Beenden"; fi
    wait "$app_pid" || fail "the program ended with an error: $(cat "$work/program.log")"
    app_pid=
}

# The card in the preview, clear of the assistant at the window's lower right corner.
shoot_preview() {
    import -window "$window" -crop 260x460+380+80 +repage "$1"
}

position() {
    xdotool getwindowgeometry "$window" | sed -n 's/ *Position: \([0-9]*,[0-9]*\).*/\1/p'
}

start_program
# The window carries the program's icon for the task bar.
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (48 x 48)' || fail "the window has no icon"
shoot_preview "$work/sample.png"
xdotool key Tab ctrl+a
xdotool type --delay 20 "Erika Musterfrau"
xdotool windowmove "$window" 100 60
sleep 1
moved=$(position)
shoot_preview "$work/typed.png"
quit_program

grep -q '^Default.VorNachname=Erika Musterfrau$' "$XDG_CONFIG_HOME/Ornak/Tessaro.conf" \
    || fail "the name was not stored: $(cat "$XDG_CONFIG_HOME/Ornak/Tessaro.conf")"

start_program
[ "$(position)" = "$moved" ] || fail "window at $(position), was at $moved"
shoot_preview "$work/restarted.png"
quit_program

differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]; }
differs "$work/sample.png" "$work/typed.png" || fail "typing the name did not change the preview"
differs "$work/typed.png" "$work/restarted.png" && fail "the restarted program shows another card"
echo "ok"
