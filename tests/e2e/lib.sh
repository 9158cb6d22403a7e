# Shared helpers for the end-to-end tests: a private X display (with a window manager when
# asked), a private home and config, the program under test, and cleanup on every way out.
set -u

BIN=$1
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tesk-e2e.XXXXXX")
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
SHOTS=$WORK/shots
mkdir -p "$SHOTS"
PIDS=()

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    [ -n "${TESK_E2E_KEEP:-}" ] && { echo "kept $WORK" >&2; return; }
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on the first free display; "wm" also starts openbox for frames and close requests.
start_display() {
    local n=70
    while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    export DISPLAY=":$n"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
    if [ "${1:-}" = wm ]; then
        openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
        PIDS+=($!)
        for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
    fi
}

# Starts the program in the given directory (default: the work directory); sets APP_PID.
start_program() {
    (cd "${1:-$WORK}" && exec "$BIN") >"$WORK/program.log" 2>&1 &
    APP_PID=$!
    PIDS+=($APP_PID)
}

# Prints the id of the viewable window with exactly this name, waiting up to 10 s.
wait_for_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits for the program to end and sets EXIT_CODE; fails after 10 s.
wait_for_exit() {
    for _ in $(seq 100); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end"
    wait "$APP_PID"
    EXIT_CODE=$?
}

# Saves a screenshot of a window; with TESK_UPDATE_SCREENSHOTS=1 also into docs/screenshots.
screenshot() {
    local window=$1 name=$2
    sleep 0.3
    import -window "$window" "$SHOTS/$name" || fail "screenshot $name"
    if [ "${TESK_UPDATE_SCREENSHOTS:-0}" = 1 ] && [ -n "${TESK_SCREENSHOTS:-}" ]; then
        cp "$SHOTS/$name" "$TESK_SCREENSHOTS/$name"
    fi
}
