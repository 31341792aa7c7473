#!/usr/bin/env bash
# Packs the build as its Debian package and has lintian check it: no error
# may remain. The warnings it still gives are printed with the result.
#   bash package_lint.sh <tessaro> <build-dir>     pack the build, then check
#   bash package_lint.sh --deb <package.deb>       check a package built before
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"

for tool in cpack dpkg-deb lintian; do
    command -v "$tool" >/dev/null || fatal "$tool is not installed"
done

if [ "$1" = --deb ]; then
    deb=$2
else
    cpack -G DEB --config "$2/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
        fatal "cpack: $(cat "$work/cpack.log")"
    }
    deb=$(ls "$work"/tessaro_*.deb)
fi

# Informational tags are left out; errors fail, warnings are shown.
status=0
lintian --tag-display-limit 0 --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || status=$?
cat "$work/lintian.txt"
if [ $status -ne 0 ] || grep -q '^E: ' "$work/lintian.txt"; then
    fatal "lintian reports errors for $(basename "$deb")"
fi
echo "package_lint: $(basename "$deb") has no lintian error, $(grep -c '^W: ' "$work/lintian.txt") warning(s)"
