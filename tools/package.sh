#!/usr/bin/env bash
# Builds the Debian package in its own build folder, without the tests:
#   bash tools/package.sh        ->  build-deb/tessaro_<version>_<arch>.deb
# Install it with: apt install ./build-deb/tessaro_*.deb
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TESSARO_BUILD_DIR=${TESSARO_BUILD_DIR:-$root/build-deb}
export TESSARO_CMAKE_ARGS="-DBUILD_TESTING=OFF ${TESSARO_CMAKE_ARGS:-}"
exec bash "$root/tools/setup.sh" package
