#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   bash fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
# New inputs go to the build folder's corpora; the seeds in fuzz/corpus stay
# as committed. A finding stops its target and is left in <build>/findings.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TESSARO_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
[ $# -gt 0 ] && shift

export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTESSARO_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/fuzz_*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi
cmake --build "$build" -j2 --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  work="$build/corpus/$name"
  mkdir -p "$work"
  log="$build/findings/$name.log"
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$build/findings/$name-" \
       "$work" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
    result=ok
  else
    result=FINDING
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  printf '%-14s %-8s %10s executions in %ss  (%s)\n' "$name" "$result" "${runs:-?}" "$seconds" "$log"
done
exit $status
