# Shared by the whole-program test scripts, which source it; it is no test of
# its own. It gives a script a work folder that is removed at exit together
# with the processes started through `background`, a private home, a virtual
# display, waits on state instead of fixed pauses, and the verdicts:
#   fail     notes a failure and goes on      finish  ends with the verdict
#   fatal    ends at once as failed           skip    ends as skipped (77)
# A script may define `describe_failure` to show what it saw before `fatal`.

# The tools print and read numbers with a decimal point whatever locales the
# machine has; the program itself runs in the language under test. They run
# through env, so that the shell never switches its own locale to one the
# machine may lack (which it would warn about).
awk() { env -u LC_ALL LC_NUMERIC=C awk "$@"; }
sort() { env -u LC_ALL LC_NUMERIC=C sort "$@"; }
printf() { env -u LC_ALL LC_NUMERIC=C printf "$@"; }

status=0
work=$(mktemp -d)
background_pids=()

harness_cleanup() {
    local pid
    for pid in "${background_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    # What they ended with does not change the script's verdict.
    [ ${#background_pids[@]} -eq 0 ] || wait "${background_pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap harness_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    status=1
}

fatal() {
    echo "FAIL: $*" >&2
    declare -F describe_failure >/dev/null && describe_failure
    exit 1
}

# CTest counts the exit code 77 as skipped (SKIP_RETURN_CODE).
skip() {
    echo "SKIP: $*"
    exit 77
}

finish() {
    exit "$status"
}

# Runs a command in the background and stops it at exit; $! is its pid.
background() {
    "$@" &
    background_pids+=($!)
}

# Polls the command every tenth of a second until it succeeds; fails after
# the given number of seconds.
wait_until() {
    local seconds=$1 tries
    shift
    for ((tries = seconds * 10; tries > 0; --tries)); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

# A home, configuration and runtime folder of the script's own, so that no
# run reads or writes the real user's settings; the work folder is current.
use_private_home() {
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_RUNTIME_DIR=$work/run
    mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    cd "$work" || fatal "no work folder"
}

# Nothing can reach a display or a real printer: the command line alone.
use_no_display() {
    unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# A virtual screen of the given size (WIDTHxHEIGHT) as $DISPLAY; further
# arguments go to the X server.
start_display() {
    local size=$1
    shift
    background Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp "$@" 3>"$work/display" 2>/dev/null
    wait_until 5 test -s "$work/display" || fatal "no virtual display"
    export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb
    unset SESSION_MANAGER
}

# The program's visible windows whose type (NORMAL, SPLASH, ...) is the
# given one.
windows_of_type() {
    local id types
    for id in $(xdotool search --onlyvisible --class tessaro 2>/dev/null); do
        types=$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null) || continue
        [[ "$types," == *"_NET_WM_WINDOW_TYPE_$1,"* ]] && echo "$id"
    done
    return 0
}

no_window_of_type() {
    [ -z "$(windows_of_type "$1")" ]
}

# A menu is up: a visible window of the program that bypasses the window
# manager. (Its type cannot tell: a menu shown again comes back as NORMAL.)
popup_shown() {
    local id
    for id in $(xdotool search --onlyvisible --class tessaro 2>/dev/null); do
        [[ $(xwininfo -id "$id" 2>/dev/null) == *"Override Redirect State: yes"* ]] && return 0
    done
    return 1
}

# Opens a menu of the focused main window by its mnemonic and waits until it
# is shown, so that the next key reaches it.
open_menu() {
    xdotool key "alt+$1"
    wait_until 5 popup_shown || fatal "the menu alt+$1 did not open"
}

# Waits for the program to end after it was asked to and checks it ended well.
wait_program_end() {
    local pid=$1
    wait_until 10 eval "! kill -0 $pid 2>/dev/null" || fatal "the program did not end"
    wait "$pid" || fatal "the program ended with an error"
}

# "x y" in millimetres of every occurrence of a word on a page of a PDF file
# (the first unless given), in reading order.
positions() {
    pdftotext -bbox -f "${3:-1}" -l "${3:-1}" "$1" - |
        awk -v w="$2" -F'"' '$0 ~ ">" w "<" {printf "%.2f %.2f\n", $2 / 72 * 25.4, $4 / 72 * 25.4}'
}
