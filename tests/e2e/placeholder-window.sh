#!/usr/bin/env bash
# The program's window under Xvfb, through the e2e helpers: it appears with its caption and size,
# shows in a screenshot, takes the pointer at client coordinates, closes on a window manager's
# close request and on Escape, and ends on SIGTERM.
#   placeholder-window.sh <tocklet>
set -uo pipefail
source "$(dirname "$0")/lib.sh"
tocklet=$1

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"

e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
read -r x y width height <<<"$(e2e_window_geometry "$window")" || e2e_fail "no geometry for $window"
[ "$width" -eq 449 ] && [ "$height" -eq 407 ] || e2e_fail "client size is $width x $height, not 449 x 407"

e2e_screenshot root screen.png || e2e_fail "no screenshot"
background=$(e2e_pixel screen.png $((x + width / 2)) $((y + height / 2))) || e2e_fail "no pixel"
[ "$background" != 000000 ] || e2e_fail "the window's middle is as black as the empty screen"
e2e_expect_pixel screen.png $((x + width + 5 < 1024 ? x + width + 5 : x - 5)) $((y + 5)) 000000 "the screen beside the window"
e2e_screenshot "$window" window.png || e2e_fail "no screenshot of the window"
e2e_expect_pixel window.png 0 0 "$background" "the window's corner"
e2e_expect_pixel window.png 448 406 "$background" "the window's far corner"

# Pointer positions are client coordinates of the window.
e2e_move "$window" 10 20 || e2e_fail "cannot move the pointer"
eval "$(xdotool getmouselocation --shell)"
[ "$X" -eq $((x + 10)) ] && [ "$Y" -eq $((y + 20)) ] || e2e_fail "pointer at $X, $Y for client 10, 20"
e2e_drag "$window" 100 100 300 250 || e2e_fail "cannot drag"
eval "$(xdotool getmouselocation --shell)"
[ "$X" -eq $((x + 300)) ] && [ "$Y" -eq $((y + 250)) ] || e2e_fail "drag ended at $X, $Y"

# The stand-in window accepts a close request; the game window will refuse it during play.
e2e_close_request "$window" || e2e_fail "the close request could not be sent"
e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after a close request"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after a close request"

# Typed keys reach it: Escape ends the stand-in dialog.
e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear the second time"
e2e_key "$window" Escape || e2e_fail "cannot type Escape"
e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after Escape"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after Escape"

e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear the third time"
e2e_terminate 10 || e2e_fail "the program still runs 10 s after SIGTERM"
[ "$E2E_STATUS" -eq 143 ] || e2e_fail "exit status $E2E_STATUS after SIGTERM, not 143"
e2e_log "window seen, screenshot read, pointer placed, closed on request and on Escape, ended on SIGTERM"
