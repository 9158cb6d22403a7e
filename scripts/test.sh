#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite (unit, end-to-end, fuzzers).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j1)
if [ -x scripts/run-fuzzers.sh ]; then
    scripts/run-fuzzers.sh
fi
