#!/bin/sh
# Runs one test binary with a temporary home, config, data and working directory.
dir=$(mktemp -d "${TMPDIR:-/tmp}/tesk-test.XXXXXX") || exit 1
mkdir -p "$dir/home" "$dir/config" "$dir/data" "$dir/cwd"
HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" \
  XDG_RUNTIME_DIR="$dir" TESK_TEST_TMP="$dir" sh -c 'cd "$TESK_TEST_TMP/cwd" && exec "$@"' sh "$@"
rc=$?
rm -rf "$dir"
exit $rc
