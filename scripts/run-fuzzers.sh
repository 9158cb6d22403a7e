#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/fuzz_*.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build directory of their own, then runs each one for a short
# time on its seed corpus (tests/fuzz/corpus/<target>/). Exits non-zero when a target crashes or
# one of its checks fails; the input that did it is kept in the build directory.
#
# Environment: TESK_FUZZ_BUILD_DIR (default <repo>/build-fuzz), TESK_FUZZ_SECONDS per target
# (default 20), TESK_FUZZ_JOBS for the build (default: all processors).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${TESK_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${TESK_FUZZ_SECONDS:-20}
jobs=${TESK_FUZZ_JOBS:-$(nproc)}

targets=()
for source in "$root"/tests/fuzz/fuzz_*.cpp; do
  targets+=("$(basename "$source" .cpp)")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "run-fuzzers: no fuzz targets in tests/fuzz" >&2
  exit 1
fi

generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DTESK_BUILD_FUZZ=ON -DTESK_BUILD_TESTS=OFF -DTESK_BUILD_BENCH=OFF
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

# New inputs go to a scratch corpus, so that the seeds in the tree stay small.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tesk-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

failed=()
for target in "${targets[@]}"; do
  corpora=("$scratch/$target")
  mkdir -p "${corpora[0]}"
  if [ -d "$root/tests/fuzz/corpus/$target" ]; then
    corpora+=("$root/tests/fuzz/corpus/$target")
  fi
  echo "== $target: ${seconds}s"
  if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$build/$target-" "${corpora[@]}"; then
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "run-fuzzers: failed: ${failed[*]} (reproducers: $build/<target>-crash-*)" >&2
  exit 1
fi
echo "run-fuzzers: all ${#targets[@]} targets ran ${seconds}s without a failure"
