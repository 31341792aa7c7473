#!/bin/bash
# The real program as a screen reader meets it, through AT-SPI on a virtual
# display with its own accessibility bus: every field, button and layout
# thumbnail has its name, the preview tells its side and the card's texts,
# and the arrow keys in the layout list announce each layout they reach.
# Prints the tree it read.
# Usage: accessibility_tree.sh <tessaro> <build-dir>
# Exits with 77 (skipped) where the accessibility bus or its Python binding
# is missing.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"

program=$(realpath "$1")
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher

describe_failure() {
    [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
}

# A session bus of our own, which the accessibility bus registers on.
if [ -z "${TESSARO_SESSION_BUS:-}" ]; then
    for tool in Xvfb xdotool dbus-run-session; do
        command -v "$tool" >/dev/null || skip "no $tool"
    done
    [ -x "$launcher" ] || skip "no accessibility bus launcher (at-spi2-core)"
    "$python" -c 'import pyatspi' 2>/dev/null || skip "no AT-SPI binding for Python (python3-pyatspi)"
    rmdir "$work" # the run on the new bus makes its own
    TESSARO_SESSION_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

use_private_home
mkdir -p "$XDG_CONFIG_HOME/Ornak"
export LANG=de_DE.UTF-8 TESSARO_NO_SPLASH=1 CUPS_SERVER=$work/no-cups.sock
# The bridge talks to the accessibility bus even without a desktop that asks for it.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
printf '[Assistent]\nDontShowAgain=1\n' >"$XDG_CONFIG_HOME/Ornak/Tessaro.conf"
start_display 1280x1024

background "$launcher" --launch-immediately 2>"$work/bus.log"
background "$program" >"$work/program.log" 2>&1
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Tessaro$' | head -1) || fatal "no main window"
xdotool windowfocus --sync "$window"

"$python" - "$window" <<'PYTHON' || fatal "the accessibility tree above lacks what a screen reader needs"
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

window = sys.argv[1]


def application():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "tessaro" and app.childCount > 0:
                return app
        time.sleep(0.1)
    sys.exit("the program does not show on the accessibility bus")


def walk(node, depth=0, found=None):
    """Prints the named or focusable nodes and collects them by role."""
    found = found if found is not None else []
    states = node.getState()
    # The list of a closed combo box's popup has no name; the box has.
    in_combo = node.parent is not None and node.parent.getRole() == pyatspi.ROLE_COMBO_BOX
    focusable = states.contains(pyatspi.STATE_FOCUSABLE) and not in_combo
    if node.name or focusable:
        role = node.getRoleName()
        marks = ("F" if focusable else "") + ("S" if states.contains(pyatspi.STATE_SELECTED) else "")
        description = node.description.replace("\n", " / ")
        print(f"{'  ' * depth}{role} [{marks}] {node.name!r}" + (f" - {description!r}" if description else ""))
        found.append((role, node.name, node.description, focusable))
    for child in node:
        if child is not None:
            walk(child, depth + 1, found)
    return found


found = walk(application())
problems = []


def named(role, name):
    return any(r == role and n == name for r, n, _, _ in found)


for field in ["Titel:", "Vor- und Nachname:", "Beruf:", "Adresse:", "Telefon / Fax / E-Mail:", "Textfeld 1:",
              "Textfeld 2:", "Extratext - Außenseite hinten", "Extratext - Innenseite links", "Anzahl Bögen:", "Größe:",
              "Webadresse im QR-Code"]:
    if not named("text", field) and not named("spin button", field):
        problems.append(f"no field named {field!r}")
for button in ["Ausdruck nach oben verschieben", "Ausdruck nach unten verschieben", "Ausdruck nach links verschieben",
               "Ausdruck nach rechts verschieben", "Verschiebung zurücksetzen", "Einfügen", "Entfernen",
               "Testseite drucken", "Druckposition anpassen"]:
    if not named("push button", button):
        problems.append(f"no button named {button!r}")
thumbnails = [n for r, n, _, _ in found if r == "list item" and n.startswith("Layout ")]
if len(thumbnails) != 15 or len(set(thumbnails)) != 15:
    problems.append(f"{len(thumbnails)} layout thumbnails, {len(set(thumbnails))} names: {thumbnails}")
previews = [d for r, n, d, _ in found if r == "image" and n == "Vorschau der Vorderseite"]
if not previews or "Heinz Mustermann" not in previews[0]:
    problems.append(f"the preview does not read the card: {previews}")
for role, name, _, focusable in found:
    if focusable and not name:
        problems.append(f"a {role} without a name")

# What a screen reader announces while the arrow keys move through the layouts.
announced = []


def on_focus(event):
    if event.detail1 and event.source.getRoleName() == "list item":
        announced.append(event.source.name)


def keys():
    for key in ["ctrl+Tab", "Right", "Right", "Down"]:
        subprocess.run(["xdotool", "key", "--window", window, key], check=True)
        time.sleep(0.5)
    GLib.timeout_add(1000, pyatspi.Registry.stop)
    return False


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
GLib.timeout_add(500, keys)
pyatspi.Registry.start()
print("announced:", announced)
for number in (2, 3, 5):
    if not any(a.startswith(f"Layout {number}: ") for a in announced):
        problems.append(f"moving to layout {number} was not announced")

for problem in problems:
    print("PROBLEM:", problem)
sys.exit(1 if problems else 0)
PYTHON
finish
