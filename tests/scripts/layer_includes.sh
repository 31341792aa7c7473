#!/usr/bin/env bash
# The layers' dependencies point one way: every #include of our own headers
# and of Qt's widget headers is checked against the arrows each folder may
# follow, and every crossing is named by file and line.
#   bash layer_includes.sh [<tessaro> <build-dir>]   checks the source tree
#   bash layer_includes.sh --tree <dir>                checks another tree
set -u
source "$(dirname "$0")/lib/harness.sh"

tree=$(realpath "$(dirname "$0")/../..")
[ "${1:-}" = --tree ] && tree=$(realpath "$2")

widgets=$(ls -d /usr/include/*/qt6/QtWidgets /usr/include/qt6/QtWidgets 2>/dev/null | head -1)
[ -d "$widgets" ] || fatal "Qt's widget headers are not installed"

# The folders each layer may include from, itself included. Two ties run
# both ways: the card document holds its logo pictures (model <-> render/uDIB*),
# and the settings store keeps its values as wide text (support <-> locale).
declare -A may=(
    [support]="support locale"
    [locale]="locale support"
    [model]="model support locale render/uDIB"
    [render]="render model support locale"
    [print]="print render model support locale"
    [ui]="ui print render model support locale"
)
# Only these may use widgets: the preview window, the font box, the start
# picture and about box, the dialog service, the localizer's form walker and
# the window-position store.
widget_users='^(ui/|render/uMMWindow\.|support/uFontCombo\.|support/uStartbildInfoFenster\.|support/uDialogService\.|locale/ulocalize\.|locale/uLocalizerForm\.|locale/uSaveFormPosition\.)'

allowed() {
    local target=$1 prefix
    for prefix in ${may[$2]}; do
        [[ $target == "$prefix"/* || $target == "$prefix"* && $prefix == */* ]] && return 0
    done
    return 1
}

cd "$tree" || fatal "no tree $tree"
for layer in "${!may[@]}"; do
    [ -d "$layer" ] || continue
    while IFS=: read -r file line text; do
        if [[ $text =~ \#include\ \"([a-z]+/[^\"]+)\" ]]; then
            target=${BASH_REMATCH[1]}
            allowed "$target" "$layer" || fail "$file:$line: $layer/ may not include $target"
        elif [[ $text =~ \#include\ \<(Q[A-Za-z]+)\> ]]; then
            header=${BASH_REMATCH[1]}
            [ -e "$widgets/$header" ] && ! [[ $file =~ $widget_users ]] &&
                fail "$file:$line: $layer/ may not use widgets ($header)"
        fi
    done < <(grep -rn '^#include' --include='*.cpp' --include='*.h' "$layer")
done
finish
