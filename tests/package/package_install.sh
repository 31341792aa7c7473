#!/usr/bin/env bash
# Installs the Debian package on this machine as a user would, checks what the
# desktop shows of it and removes it again, leaving the machine as it was:
# lintian finds no error; the program, its manual page and its software-centre
# data are there; the menu entry is registered for card files; file managers
# take a card file for one and a TypeScript source of the same extension not;
# after removal no file of the package and no trace of the card type is left.
# Needs root (or sudo) and must not find the package installed already.
#   bash package_install.sh build-deb/tessaro_<version>_<arch>.deb
set -uo pipefail

deb=$(realpath "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
installed() { dpkg-query -W -f='${Status}' tessaro 2>/dev/null | grep -q 'install ok installed'; }

for tool in apt-get dpkg-deb lintian gio appstreamcli man desktop-file-validate; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
done
if installed; then
    echo "FAIL: tessaro is installed already; remove it before the test" >&2
    exit 1
fi
trap 'installed && "${as_root[@]}" apt-get purge -y -q tessaro >/dev/null; rm -rf "$work"' EXIT

bash "$here/../scripts/package_lint.sh" --deb "$deb" || fail "lintian"

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get install -y -q --no-install-recommends "$deb" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "apt-get install"; }

# The file type as a file manager sees it, through the system's databases
# only (no types of the user running the test).
printf '[Daten]\r\nName=Heinz Mustermann\r\n' >"$work/Karte.tsx"
printf 'export const App = () => <div>Karte</div>;\n' >"$work/App.tsx"
content_type() {
    env -u XDG_CURRENT_DESKTOP GIO_USE_VFS=local XDG_DATA_HOME="$work/none" XDG_DATA_DIRS=/usr/share \
        XDG_CONFIG_HOME="$work/config" gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
}
card=application/x-tessaro-card

# Installed: the program, its manual page, the menu entry and the card type.
[ "$(command -v tessaro)" = /usr/bin/tessaro ] || fail "no tessaro on the path"
version=$(dpkg-deb -f "$deb" Version)
[ "$(/usr/bin/tessaro --version)" = "Tessaro $version" ] || fail "the program reports another version than $version"
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/tessaro --help | grep -q -- --print-to-pdf || fail "tessaro --help"
[ "$(man -w tessaro)" = /usr/share/man/man1/tessaro.1.gz ] || fail "man does not find the manual page"
LC_ALL=C.UTF-8 MANWIDTH=80 man tessaro 2>/dev/null | grep -q -- --print-to-printer || fail "man tessaro"
appstreamcli validate --no-net /usr/share/metainfo/org.example.tessaro.metainfo.xml >/dev/null ||
    fail "appstreamcli validate"
desktop-file-validate /usr/share/applications/tessaro.desktop || fail "desktop-file-validate"
grep -q "^$card=.*tessaro.desktop" /usr/share/applications/mimeinfo.cache ||
    fail "the menu entry is not registered for card files"
[ -f /usr/share/icons/hicolor/48x48/apps/tessaro.png ] || fail "no menu icon"
[ "$(content_type "$work/Karte.tsx")" = $card ] || fail "a card file is $(content_type "$work/Karte.tsx")"
[ "$(content_type "$work/App.tsx")" != $card ] || fail "a TypeScript source is taken for a card file"

"${as_root[@]}" apt-get purge -y -q tessaro >"$work/purge.log" 2>&1 || { cat "$work/purge.log" >&2; fail "apt-get purge"; }

# Removed: every file of the package and the card type are gone.
while read -r path; do
    [ -e "$path" ] && [ ! -d "$path" ] && fail "$path is left after removal"
done < <(dpkg-deb -c "$deb" | awk '{print substr($6, 2)}')
[ "$(content_type "$work/Karte.tsx")" != $card ] || fail "the card type is still known after removal"
grep -q tessaro /usr/share/applications/mimeinfo.cache && fail "the menu entry is still registered"

if [ "$failures" -gt 0 ]; then
    echo "package_install: $failures check(s) failed" >&2
    exit 1
fi
echo "package_install: $(basename "$deb") installs, shows its menu entry and card type, and is removed cleanly"
