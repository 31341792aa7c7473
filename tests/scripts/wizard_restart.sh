#!/bin/bash
# The real program on a virtual display: type a name, move the window, quit
# through the menu; the next start shows the same card at the same place.
# Usage: wizard_restart.sh <tessaro> <build-dir>
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"

program=$1
use_private_home
export LANG=de_DE.UTF-8
start_display 1280x1024

window=
start_program() {
    background "$program" >"$work/program.log" 2>&1
    app_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tessaro$' | head -1) || fatal "no main window"
    # Without a window manager the window gets the focus from us.
    xdotool windowfocus "$window"
    # The start picture stands on top of the window for its two seconds.
    wait_until 10 no_window_of_type SPLASH || fatal "the start picture stays"
}

quit_program() {
    xdotool windowfocus "$window"
    open_menu d
    xdotool key b
    wait_program_end "$app_pid"
}

# The card in the preview, clear of the assistant at the window's lower right
# corner, once two shots in a row agree: typing redraws it a moment later.
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != 0 ]; }
shoot_preview() {
    local shot=$work/shot.png
    import -window "$window" -crop 260x460+380+80 +repage "$1"
    steady() {
        import -window "$window" -crop 260x460+380+80 +repage "$shot"
        differs "$1" "$shot" || return 0
        mv "$shot" "$1"
        return 1
    }
    wait_until 5 steady "$1" || fail "the preview does not come to rest"
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
before=$(position)
xdotool windowmove "$window" 100 60
window_moved() { [ "$(position)" != "$before" ]; }
wait_until 5 window_moved || fail "the window did not move"
moved=$(position)
shoot_preview "$work/typed.png"
quit_program

grep -q '^Default.VorNachname=Erika Musterfrau$' "$XDG_CONFIG_HOME/Ornak/Tessaro.conf" \
    || fail "the name was not stored: $(cat "$XDG_CONFIG_HOME/Ornak/Tessaro.conf")"

start_program
[ "$(position)" = "$moved" ] || fail "window at $(position), was at $moved"
shoot_preview "$work/restarted.png"
quit_program

differs "$work/sample.png" "$work/typed.png" || fail "typing the name did not change the preview"
differs "$work/typed.png" "$work/restarted.png" && fail "the restarted program shows another card"
[ "$status" = 0 ] || finish
echo "ok"
