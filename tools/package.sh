#!/usr/bin/env bash
# Builds the Debian package in its own build folder, without the tests:
#   bash tools/package.sh        ->  build-deb/tessaro_<version>_<arch>.deb
#   bash tools/package.sh test   the same, then checks it with lintian, installs
#                                it, checks the desktop's view of it and removes
#                                it again (needs root; changes the machine while
#                                it runs)
# Install it with: apt install ./build-deb/tessaro_*.deb
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TESSARO_BUILD_DIR=${TESSARO_BUILD_DIR:-$root/build-deb}
export TESSARO_CMAKE_ARGS="-DBUILD_TESTING=OFF ${TESSARO_CMAKE_ARGS:-}"
# Debian's own build flags, hardening included: stack protector, checked
# string functions, read-only relocations bound at start. CMake takes them
# when it first configures the folder.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
bash "$root/tools/setup.sh" package
if [ "${1:-}" = test ]; then
    version=$(sed -n 's/^project(Tessaro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
    bash "$root/tests/package/package_install.sh" "$TESSARO_BUILD_DIR/tessaro_${version}_$(dpkg --print-architecture).deb"
fi
