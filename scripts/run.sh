#!/usr/bin/env bash
# Installs what is needed, builds, and runs the program. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ]; then
    echo "No display is set: running under Xvfb on :99 (invisible; take screenshots with" \
         "'DISPLAY=:99 import -window root shot.png')."
    Xvfb :99 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null' EXIT
    export DISPLAY=:99
    sleep 1
fi
build/src/teskmail
