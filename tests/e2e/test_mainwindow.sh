#!/usr/bin/env bash
# The real program shows its main window with title and icon, and a close request from the
# window manager ends it with exit code 0.
. "$(dirname "$0")/lib.sh"

start_display wm
start_program
window=$(wait_for_window "Tesk - Vadederar") || fail "no main window"
sleep 1

xprop -id "$window" WM_CLASS | grep -q '"Tesk - Vadederar"' || fail "window class is not the title"
icon=$(xprop -id "$window" -notype 32c _NET_WM_ICON | head -c 200)
echo "$icon" | grep -qE '= 32, 32' || fail "no 32x32 window icon: $icon"
screenshot "$window" main-window.png

wmctrl -c "Tesk - Vadederar" || fail "close request not delivered"
wait_for_exit
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo PASS
