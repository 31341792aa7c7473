#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs
# from it: the program runs from there, the launcher is valid and offers to
# open card files, the icon is there in every size, card files are told
# apart from TypeScript sources that share their extension, the software
# centre's data are valid, and the manual page renders.
#   bash install_tree.sh <tessaro> <build-dir>
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"

program=$1
build=$2
prefix=$work/usr

# Every tool below must be there: a check that cannot run does not pass.
for tool in desktop-file-validate update-mime-database update-desktop-database gio appstreamcli man; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
    fatal "cmake --install: $(cat "$work/install.log")"
}

# The program: resources are compiled in, so the installed file alone runs.
installed=$prefix/bin/tessaro
if [ -x "$installed" ]; then
    [ "$("$installed" --version)" = "$("$program" --version)" ] ||
        fail "the installed program reports another version than the built one"
else
    fail "no program in $prefix/bin"
fi

# The launcher.
launcher=$prefix/share/applications/tessaro.desktop
if [ -f "$launcher" ]; then
    report=$(desktop-file-validate "$launcher" 2>&1) || fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate has remarks: $report"
    grep -qx 'Exec=tessaro %f' "$launcher" || fail "the launcher does not hand a file to the program"
    grep -qx 'Icon=tessaro' "$launcher" || fail "the launcher names another icon"
else
    fail "no launcher in $prefix/share/applications"
fi

# Icons: PNG files of the size their folder names, with an alpha channel.
for edge in 48 128 256; do
    icon=$prefix/share/icons/hicolor/${edge}x${edge}/apps/tessaro.png
    if [ ! -f "$icon" ]; then
        fail "no ${edge}x${edge} icon"
        continue
    fi
    # Signature (8 bytes), IHDR length and tag (8), width, height (4 each),
    # bit depth, colour type.
    read -r -a header <<<"$(od -An -tu1 -N26 "$icon" | tr -s ' \n' ' ')"
    [ "${header[*]:0:8}" = "137 80 78 71 13 10 26 10" ] || { fail "$icon is no PNG"; continue; }
    width=$(( (header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19] ))
    height=$(( (header[20] << 24) | (header[21] << 16) | (header[22] << 8) | header[23] ))
    [ "$width" -eq "$edge" ] && [ "$height" -eq "$edge" ] || fail "$icon is ${width}x${height}"
    [ "${header[25]}" -eq 6 ] || fail "$icon has no alpha channel (colour type ${header[25]})"
done

# The card file type, looked up as a file manager does (GIO) in a private
# MIME database built from the installed file.
mime_xml=$prefix/share/mime/packages/tessaro.xml
if [ -f "$mime_xml" ]; then
    update-mime-database "$prefix/share/mime" 2>/dev/null
    # A stand-in for a TypeScript type claiming *.tsx with the default weight,
    # as newer MIME databases and editors declare it.
    mkdir -p "$work/other/mime/packages"
    cat >"$work/other/mime/packages/typescript.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="text/x-tsx-standin">
    <sub-class-of type="text/plain"/>
    <glob pattern="*.tsx"/>
  </mime-type>
</mime-info>
XML
    update-mime-database "$work/other/mime" 2>/dev/null

    mkdir -p "$work/files"
    printf '[Daten]\r\nName=Heinz Mustermann\r\nTitel=Dr. med.\r\n' >"$work/files/Karte.tsx"
    printf '\xef\xbb\xbf[Daten]\r\nName=Heinz Mustermann\r\n' >"$work/files/Bom.tsx"
    printf 'export const App = () => <div>Karte</div>;\n' >"$work/files/App.tsx"

    content_type() { # <data-dirs> <file>
        env -u XDG_CURRENT_DESKTOP GIO_USE_VFS=local XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$1" \
            XDG_CONFIG_HOME="$work/config" gio info -a standard::content-type "$2" |
            sed -n 's/^ *standard::content-type: //p'
    }
    expect_type() { # <data-dirs> <file> <type>
        local found
        found=$(content_type "$1" "$2")
        [ "$found" = "$3" ] || fail "$(basename "$2") with data dirs $1 is '$found', not '$3'"
    }
    card=application/x-tessaro-card
    expect_type /usr/share "$work/files/Karte.tsx" $card
    expect_type /usr/share "$work/files/App.tsx" text/plain
    expect_type "$work/other:/usr/share" "$work/files/Karte.tsx" $card
    expect_type "$work/other:/usr/share" "$work/files/Bom.tsx" $card
    expect_type "$work/other:/usr/share" "$work/files/App.tsx" text/x-tsx-standin

    # Double-click: the launcher is registered for the type (and found: its
    # TryExec looks for the program on the path).
    update-desktop-database "$prefix/share/applications"
    env PATH="$prefix/bin:$PATH" GIO_USE_VFS=local XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$work/config" \
        gio mime $card >"$work/handlers" 2>&1 || true
    grep -q 'tessaro.desktop' "$work/handlers" || fail "no application opens $card: $(cat "$work/handlers")"
    # "Open with" for contacts of address books.
    env PATH="$prefix/bin:$PATH" GIO_USE_VFS=local XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS=/usr/share XDG_CONFIG_HOME="$work/config" \
        gio mime text/vcard >"$work/handlers" 2>&1 || true
    grep -q 'tessaro.desktop' "$work/handlers" || fail "tessaro does not offer to open vCard files: $(cat "$work/handlers")"
else
    fail "no MIME type file in $prefix/share/mime/packages"
fi

# Software centres: valid metadata naming the launcher, the card type and
# the version the program reports.
version=$("$program" --version | sed 's/^Tessaro //')
metainfo=$prefix/share/metainfo/org.example.tessaro.metainfo.xml
if [ -f "$metainfo" ]; then
    report=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $report"
    grep -q '<launchable type="desktop-id">tessaro.desktop</launchable>' "$metainfo" ||
        fail "the metadata name another launcher"
    grep -q '<mediatype>application/x-tessaro-card</mediatype>' "$metainfo" || fail "the metadata lack the card type"
    [ "$(grep -o -m1 '<release version="[^"]*"' "$metainfo")" = "<release version=\"$version\"" ] ||
        fail "the newest release in the metadata is not $version"
else
    fail "no AppStream metadata in $prefix/share/metainfo"
fi

# The manual page renders without a complaint and documents the options.
manpage=$prefix/share/man/man1/tessaro.1.gz
if [ -f "$manpage" ]; then
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manpage" 2>&1 >"$work/man.txt") ||
        fail "man -l failed: $warnings"
    [ -z "$warnings" ] || fail "man -l warns: $warnings"
    for option in --help --version --print-to-pdf --print-to-printer --sheets --test-page --import-contact \
        --contact-index /RESWRITE "EXIT STATUS"; do
        grep -q -- "$option" "$work/man.txt" || fail "the manual page lacks $option"
    done
else
    fail "no manual page in $prefix/share/man/man1"
fi

# The package's documents: copyright, and a changelog whose newest entry is
# this version.
docs=$prefix/share/doc/tessaro
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$docs/copyright" ||
    fail "no machine-readable copyright file in $docs"
[ "$(zcat "$docs/changelog.gz" | head -1)" = "tessaro ($version) unstable; urgency=medium" ] ||
    fail "the changelog does not begin with $version: $(zcat "$docs/changelog.gz" | head -1)"

[ "$status" = 0 ] || finish
echo "install_tree: program, launcher, icons, card file type, metadata, manual page and documents installed"
