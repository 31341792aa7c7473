#!/bin/bash
# The real program on a virtual display loses nothing typed when it does not
# end through its window: killed outright two seconds after the typing (the
# next start shows the name), asked to end by SIGTERM as at logout or by
# SIGHUP, or left without its display. Two instances that each save a sheet
# of their own keep both sheets.
# Usage: work_survives.sh <tessaro> <build-dir>
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"

program=$1
for tool in Xvfb xdotool xprop; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done
use_private_home
export LANG=de_DE.UTF-8 TESSARO_NO_SPLASH=1
settings=$XDG_CONFIG_HOME/Ornak/Tessaro.conf

display_pid=
new_display() {
    rm -f "$work/display"
    # Between two programs no client is left: a server that resets then
    # refuses the next one for a moment.
    start_display 1280x1024 -noreset
    display_pid=${background_pids[-1]}
}

# A server still going down would take the new one's socket with it.
end_display() {
    kill "$display_pid"
    wait_until 10 ended "$display_pid" || fatal "the display does not end"
}

# Starts an instance; its pid and main window come back in app_pid and window.
app_pid=
window=
start_program() {
    local before
    before=$(xdotool search --onlyvisible --name '^Tessaro$' 2>/dev/null || true)
    background "$program" >>"$work/program.log" 2>&1
    app_pid=$!
    new_window() {
        window=$(xdotool search --onlyvisible --name '^Tessaro$' 2>/dev/null | grep -vxF "${before:-none}" | head -1)
        [ -n "$window" ]
    }
    wait_until 30 new_window || fatal "no main window"
    # Without a window manager the window gets the focus from us.
    xdotool windowfocus "$window"
}

type_name() {
    xdotool windowfocus --sync "$window"
    xdotool key Tab ctrl+a
    xdotool type --delay 20 "$1"
}

stored_name() {
    grep -q "^Default.VorNachname=$1\$" "$settings" 2>/dev/null
}

# The program ended; its exit code is the verdict's business.
ended() { ! kill -0 "$1" 2>/dev/null; }
wait_end() {
    wait_until 10 ended "$1" || fatal "the program did not end"
    wait "$1" 2>/dev/null || true
}

quit_program() {
    xdotool windowfocus --sync "$window"
    open_menu d
    xdotool key b
    wait_program_end "$app_pid"
}

# Saves a sheet of the user's own under the name through the sheet choice on
# the page "Visitenkartentyp" and its dialog.
save_own_sheet() {
    xdotool windowfocus --sync "$window"
    # The page before "Eigene Daten", where every start begins.
    xdotool key ctrl+shift+Tab alt+o End
    dialog_shown() { [ -n "$(windows_of_type DIALOG)" ]; }
    wait_until 5 dialog_shown || fatal "the sheet dialog did not open"
    xdotool windowfocus --sync "$(windows_of_type DIALOG | head -1)"
    xdotool type --delay 20 "$1"
    xdotool key Return
    wait_until 5 eval '! dialog_shown' || fatal "the sheet dialog did not take the sheet"
}

own_sheets() {
    awk '/^\[/ { inside = ($0 == "[Kartenboegen]") } inside && /\\Name=/ { sub(/^[^=]*=/, ""); print }' "$settings" | sort
}

describe_failure() {
    echo "--- program output" >&2
    cat "$work/program.log" >&2 || true
    echo "--- settings" >&2
    cat "$settings" >&2 || true
}

new_display
# The assistant would come up beside each start, in the way of the keys.
mkdir -p "$(dirname "$settings")"
printf '[Assistent]\nDontShowAgain=1\n' >"$settings"

# Killed outright: what was typed up to the pause is stored, and the next
# start shows it (it stores what it shows when it is quit).
start_program
type_name "Erika Musterfrau"
sleep 2.5
kill -KILL "$app_pid"
wait_end "$app_pid"
stored_name "Erika Musterfrau" || fail "killed 2.5 s after typing: the name was not stored"
start_program
[ -z "$(windows_of_type DIALOG)" ] || fail "the lock of the killed instance counts as a running one"
quit_program
stored_name "Erika Musterfrau" || fail "the restarted program did not show the name"

# SIGTERM, as logout and shutdown send it, and SIGHUP from a closed
# terminal, at once after typing: the program ends as through its window.
for request in TERM HUP; do
    start_program
    type_name "Max Mustermann $request"
    kill -"$request" "$app_pid"
    wait_program_end "$app_pid"
    stored_name "Max Mustermann $request" || fail "SIG$request right after typing: the name was not stored"
done

# The display goes away, once after the pause and once right after typing.
for pause in 2.5 0; do
    start_program
    type_name "Anna Schmidt $pause"
    sleep "$pause"
    end_display
    wait_end "$app_pid"
    stored_name "Anna Schmidt $pause" || fail "display gone ${pause} s after typing: the name was not stored"
    new_display
done

# Two instances: the second says at its start that the first one runs;
# each saves a sheet of its own, and both sheets stay.
start_program
first_pid=$app_pid first_window=$window
start_program
warning_shown() { [ -n "$(windows_of_type DIALOG)" ]; }
wait_until 10 warning_shown || fail "the second instance did not warn of the first"
xdotool windowfocus --sync "$(windows_of_type DIALOG | head -1)"
xdotool key Return
wait_until 5 eval '! warning_shown' || fatal "the warning did not close"
second_pid=$app_pid second_window=$window
app_pid=$first_pid window=$first_window
save_own_sheet "Bogen A"
app_pid=$second_pid window=$second_window
save_own_sheet "Bogen B"
quit_program
app_pid=$first_pid window=$first_window
quit_program
[ "$(own_sheets | tr '\n' ,)" = "Bogen A,Bogen B," ] || fail "own sheets after two instances: $(own_sheets | tr '\n' ,)"

[ "$status" = 0 ] || finish
echo "ok"
