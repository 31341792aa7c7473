#!/usr/bin/env bash
# Sets up a Debian 12 machine for Tessaro, builds it and then either starts the
# program (run) or runs the whole test suite (test).
#   bash tools/setup.sh run [ARGS...]   install, build, start the wizard
#   bash tools/setup.sh package         install, build, make the Debian package
#   bash tools/setup.sh test            install, build, run every test
#   bash tools/setup.sh bench [ARGS...] install, build, run the benchmarks
# test then runs the suite a second time, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in TESSARO_ASAN_BUILD_DIR (default build-asan);
# TESSARO_SANITIZER_TESTS=0 leaves that pass out.
set -euo pipefail

mode=${1:-run}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARO_BUILD_DIR:-$root/build}

# Every Debian package the build, the program and the tests need.
packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6opengl6-dev qt6-svg-dev
  qt6-image-formats-plugins qt6-qpa-plugins qt6-translations-l10n libgl-dev
  libcups2-dev cups cups-client cups-bsd cups-ipp-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core fontconfig
  poppler-utils xvfb xauth x11-utils xdotool imagemagick strace
  libjpeg62-turbo-dev libqrencode-dev zbar-tools python3-vobject
  at-spi2-core python3-pyatspi dbus-daemon
  dpkg-dev desktop-file-utils shared-mime-info libglib2.0-bin
  appstream lintian man-db groff-base
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
# Paths below the source folder count relative, and the build folder's own
# path (which debug information would otherwise add) does not count, so
# every clone shares the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
cmake -S "$root" -B "$build" -G Ninja ${TESSARO_CMAKE_ARGS:-}
cmake --build "$build" -j2

case "$mode" in
  run)
    exec "$build/tessaro" "$@"
    ;;
  test)
    (cd "$build" && ctest --output-on-failure -j2 --timeout 900)
    if [ "${TESSARO_SANITIZER_TESTS:-1}" = 1 ]; then
      asan=${TESSARO_ASAN_BUILD_DIR:-$root/build-asan}
      cmake -S "$root" -B "$asan" -G Ninja -DTESSARO_SANITIZE=ON ${TESSARO_CMAKE_ARGS:-}
      cmake --build "$asan" -j2
      cd "$asan"
      # The runtime's reading of dynamic thread-local blocks misjudges those of
      # current C libraries and makes the leak check crash at exit.
      ASAN_OPTIONS=intercept_tls_get_addr=0 \
      LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0 \
        ctest --output-on-failure -j2 --timeout 900
    fi
    ;;
  bench)
    exec "$build/bench/tessaro_bench" "$@"
    ;;
  package)
    cd "$build"
    cpack -G DEB
    ;;
  *)
    echo "usage: $0 run|test|bench|package" >&2
    exit 2
    ;;
esac
