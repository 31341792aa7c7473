#!/bin/bash
# A user's two sessions with the real program on a virtual display, driven by
# keyboard and mouse. First: a two-sided folding card typed in, a logo
# inserted, layout 103 picked, saved through "Speichern unter", quit. Then,
# with the settings gone: the file opened through "Öffnen" and printed on the
# PDF printer, each front followed by its back and no question about paper;
# and once more with a layout that has a picture box, for the logo.
# Usage: user_scenario.sh <tessaro> <build-dir>
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"

program=$(realpath "$1")
build=$(realpath "$2")

# What the screen showed, for the one who reads the failure.
describe_failure() {
    if [ -n "${DISPLAY:-}" ] && import -window root "$build/user_scenario_failure.png" 2>/dev/null; then
        echo "screen: $build/user_scenario_failure.png" >&2
    fi
    [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
}

use_private_home
mkdir -p "$work/out"
export LANG=de_DE.UTF-8 TESSARO_NO_SPLASH=1
# No print server: the PDF printer is the only printer, and nothing can reach
# a real one.
export CUPS_SERVER=$work/no-cups.sock
settings=$XDG_CONFIG_HOME/Ornak/Tessaro.conf

# Without -noreset the server would forget the keyboard layout below as soon
# as setxkbmap disconnects.
start_display 1280x1024 -noreset
# A German keyboard: the umlauts are on keys of their own, so xdotool types
# them without changing the keymap under the running program's feet.
setxkbmap -layout de || fatal "no German keyboard layout"
[ "$(setxkbmap -query | awk '/^layout:/ {print $2}')" = de ] || fatal "the German keyboard layout did not stick"

# xdotool types umlauts only in a UTF-8 locale, which de_DE may not be here.
x() { LC_ALL=C.UTF-8 xdotool "$@"; }

# Without a window manager the focus goes to a window by our hand.
focus() {
    timeout 10 xdotool windowfocus --sync "$1" || fatal "no focus for window $1"
}

focus_main() {
    focus "$window"
}

# The visible windows whose name matches. Names are matched as bytes, so the
# patterns stay clear of umlauts. A window that goes while xdotool looks at
# it makes xdotool fail; it then looks again.
windows_named() {
    local found
    for _ in $(seq 20); do
        if found=$(xdotool search --onlyvisible --name "$1" 2>"$work/search.err"); then
            echo "$found"
            return
        fi
        grep -q 'X Error' "$work/search.err" || return 0
        sleep 0.1
    done
}

# The first visible window of that name, once it is there.
wait_window() {
    local found
    for _ in $(seq 300); do
        found=$(windows_named "$1" | head -1)
        if [ -n "$found" ]; then
            echo "$found"
            return
        fi
        sleep 0.1
    done
    return 1
}

# Types a path into a file dialog and confirms it. The dialog's completion
# list may come up while typing and take a Return for itself.
answer_file_dialog() {
    local dialog
    dialog=$(wait_window "$1") || fatal "no file dialog \"$1\""
    focus "$dialog"
    x type --delay 10 "$2"
    for _ in 1 2 3; do
        dialog=$(windows_named "$1" | head -1)
        [ -n "$dialog" ] || break
        timeout 10 xdotool windowfocus --sync "$dialog" 2>/dev/null || true
        x key Return
        for _ in $(seq 30); do
            [ -z "$(windows_named "$1")" ] && break
            sleep 0.1
        done
    done
    [ -z "$(windows_named "$1")" ] || fatal "the file dialog \"$1\" stays open"
    focus_main
}

# Confirms an information box (or the box of the caption pattern given)
# with its default button. A box that is still closing is told apart by its
# id, kept in $box.
box=
answer_information() {
    local previous=$box
    box=
    for _ in $(seq 300); do
        box=$(windows_named "${1:-^Information\$}" | grep -vx "${previous:-none}" | head -1) || true
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fatal "no information box"
    focus "$box"
    x key Return
}

# The main window's caption names the card file once it is saved or opened.
wait_caption() {
    for _ in $(seq 100); do
        [ "$(xdotool getwindowname "$window")" = "$1" ] && return
        sleep 0.1
    done
    fatal "caption after $2: $(xdotool getwindowname "$window")"
}

click() {
    x mousemove --window "$window" "$1" "$2" click 1
}

window=
start_program() {
    background "$program" >"$work/program.log" 2>&1
    app_pid=$!
    window=$(wait_window '^Tessaro$') || fatal "no main window"
    focus_main
    # The assistant comes up beside the window on its first activation.
    wait_window '^Assistent$' >/dev/null || fatal "no assistant"
    focus_main
}

# With "saving", the card has edits: the question whether to save them
# comes, and its default answer saves them to the card's file.
quit_program() {
    focus_main
    open_menu d
    x key b
    [ "${1:-}" = saving ] && answer_information '^Frage$'
    wait_program_end "$app_pid"
}

# Prints on the PDF printer from the page "Drucken": the number of sheets,
# "Drucken" and the file; a file asks nothing about paper. With "warned", the
# print confirmation first says what the card loses, and is confirmed.
print_to_pdf() {
    local sheets=$1 pdf=$2 warned=${3:-}
    # The sheet count through its caption's mnemonic, "&Anzahl Bögen": a
    # click could land before the page has taken its place.
    x key alt+a
    x key ctrl+a
    x type "$sheets"
    click 512 704 # "Drucken", where the other pages have "Weiter"
    [ "$warned" = warned ] && answer_information
    answer_file_dialog '^In PDF-Datei drucken$' "$pdf"
    wait_until 10 test -s "$pdf" || fatal "no PDF file $pdf"
    focus_main
}

logo=$work/logo.jpg
card=$work/out/Faltkarte.tsx
convert -size 120x60 xc:'#1060c0' -fill '#f0a020' -draw 'rectangle 10,10 60,50' "$logo"

# --- First session: design the card and save it.
start_program
x key ctrl+shift+Tab # from "Eigene Daten" back to "Visitenkartentyp"
click 102 149        # Klappvisitenkarte
click 80 264         # Beidseitig
x key ctrl+Tab       # "Eigene Daten": the title has the focus
x key ctrl+a
x type --delay 10 "Prof."
# The family name stays empty: the name's last word is it.
for text in "Jürgen Faltmann" "" "Buchbinder" "Faltwerk" "Falzweg 7" "Tel: 0123/456789" "Innen gefalzt"; do
    x key Tab ctrl+a
    [ -z "$text" ] || x type --delay 10 "$text"
    # The address gets a second line.
    if [ "$text" = "Falzweg 7" ]; then
        x key Return
        x type --delay 10 "12345 Kniffstadt"
    fi
done
x key Tab space # "Einfügen" for the logo
answer_file_dialog '^Logodatei .*ffnen$' "$logo"
x key ctrl+Tab # "Rückseite"
click 229 133  # Textfeld 1
x type --delay 10 "Bindearbeiten aller Art"
x key Tab
x type --delay 10 "Seit 1999"
x key Tab
x type --delay 10 "Aussen gefalzt"
x key ctrl+Tab # "Layout"
x key Right Down # the grid has the focus: from the first thumbnail to the fourth, 103
open_menu d
x key u # "Speichern unter..."
answer_file_dialog '^Datei speichern unter$' "$card"
wait_caption "Tessaro - Faltkarte.tsx" saving
quit_program

[ -s "$card" ] || fatal "no card file"
tr -d '\r' <"$card" >"$work/card.txt"
grep -q "^Nachname=" "$work/card.txt" && fatal "an empty family name was stored"
for line in "Name=Jürgen Faltmann" "Titel=Prof." "Firma=Faltwerk" "Beruf0=Buchbinder" "Adresse0=Falzweg 7" \
    "Adresse1=12345 Kniffstadt" "TelefonFaxEMail0=Tel: 0123/456789" "MitRueckseite=1" "Kartentyp=1" \
    "BackText1_0=Bindearbeiten aller Art" "BackText2_0=Seit 1999" "KlappVisitenkartenTextInnen0=Innen gefalzt" \
    "KlappVisitenkartenTextAussen0=Aussen gefalzt" "Logodatei=$logo" "Name=103"; do
    grep -qxF "$line" "$work/card.txt" || fatal "\"$line\" is not in the card file: $(cat "$work/card.txt")"
done

# --- Second session: nothing of the card is left in the settings.
rm "$settings"
start_program
open_menu d
x key f # "Öffnen..."
answer_file_dialog '^Datei .*ffnen$' "$card"
wait_caption "Tessaro - Faltkarte.tsx" opening
x key ctrl+Tab ctrl+Tab ctrl+Tab # past "Rückseite" and "Layout" to "Drucken"
# Layout 103 has no place for the card's logo, which the confirmation says.
print_to_pdf 2 "$work/out/karten.pdf" warned

# Layout 103 has no picture box; 100 has one. "Drucken" took the focus
# from the pages, so the tabs are clicked. The grid keeps 103 in view, so the
# first layout is chosen by key.
click 350 44  # "Layout"
x key ctrl+Home # the first layout: 100
click 420 44  # "Drucken"
print_to_pdf 1 "$work/out/logo.pdf"
quit_program saving
tr -d '\r' <"$card" | grep -qxF "Name=100" || fatal "the layout chosen was not saved on quitting"

# --- The printed sheets.
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
# How often a line of text is on a page.
count() { pdftotext -f "$2" -l "$2" "$1" - | grep -cxF "$3" || true; }

pdf=$work/out/karten.pdf
[ "$(pages "$pdf")" = 4 ] || fatal "$(pages "$pdf") pages instead of two fronts, each with its back"
for page in 1 2 3 4; do
    if [ $((page % 2)) = 1 ]; then front=5 back=0; else front=0 back=5; fi
    for text in "Jürgen Faltmann" "Prof." "Faltwerk" "12345 Kniffstadt" "Innen gefalzt"; do
        [ "$(count "$pdf" $page "$text")" = $front ] ||
            fatal "page $page: \"$text\" $(count "$pdf" $page "$text") times"
    done
    for text in "Bindearbeiten aller Art" "Seit 1999" "Aussen gefalzt"; do
        [ "$(count "$pdf" $page "$text")" = $back ] ||
            fatal "page $page: \"$text\" $(count "$pdf" $page "$text") times"
    done
done
# Layout 103 centres title and name on one axis (the others align them left
# or right): pair each card's title with its name, top to bottom.
pdftotext -f 1 -l 1 -bbox-layout "$pdf" - | awk -F'"' '
    /<line / {x0 = $2; y = $4; x1 = $6; text = ""}
    /<word / {w = $0; sub(/.*">/, "", w); sub(/<\/word>.*/, "", w); text = text (text == "" ? "" : " ") w}
    /<\/line>/ {if (text == "Prof." || text == "Jürgen Faltmann") print y, (x0 + x1) / 2, text}' |
    sort -n >"$work/centres.txt"
awk '/Prof\./ {t[++nt] = $2} /Faltmann/ {n[++nn] = $2}
     END {if (nt != 5 || nn != 5) exit 1
          for (i = 1; i <= 5; i++) if (t[i] - n[i] > 0.5 || n[i] - t[i] > 0.5) exit 1}' \
    "$work/centres.txt" || fatal "title and name not centred over each other: $(cat "$work/centres.txt")"
[ -z "$(pdfimages -list "$pdf" | tail -n +3)" ] || fatal "layout 103 printed a picture: $(pdfimages -list "$pdf")"

pdf=$work/out/logo.pdf
[ "$(pages "$pdf")" = 2 ] || fatal "logo print: $(pages "$pdf") pages instead of a front and a back"
images=$(pdfimages -list "$pdf" | awk 'NR > 2 {print $1, $4 "x" $5}' | sort | uniq -c | awk '{print $1, $2, $3}')
[ "$images" = "5 1 120x60" ] || fatal "the logo is not on each card of the front only: $images"
[ "$(count "$pdf" 1 "Jürgen Faltmann")" = 5 ] || fatal "logo print: the name is not on the front"
echo "ok"
