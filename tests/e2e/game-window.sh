#!/usr/bin/env bash
# The real game in a real X window: title screen colours, a game with three swings that move,
# a pause that holds them and the time, Escape back to the title, a close request that keeps the
# window, Exit that ends the program and writes the settings file back with its remark and its
# unknown section kept.
#   game-window.sh <tocklet>
set -uo pipefail
source "$(dirname "$0")/lib.sh"
tocklet=$(realpath "$1")

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"

work="$E2E_TMP/work"
mkdir -p "$work"
printf '[Score]\r\nScore1=7\r\nTime1=12.5  ;my best run\r\n[Notes]\r\nfavourite=blue\r\n' >"$work/Setting.ini"
cd "$work" || e2e_fail "no working directory"

e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
sleep 0.5

# The title screen.
e2e_screenshot "$window" title.png || e2e_fail "no screenshot"
e2e_expect_pixel title.png 10 10 000000 "the black field"
e2e_expect_pixel title.png 96 69 FFF0F0 "the title panel"
e2e_expect_pixel title.png 159 201 FAFAFA "the Start button's frame"
e2e_expect_pixel title.png 162 204 000000 "inside the Start button"
e2e_expect_pixel title.png 281 280 FAFAFA "the Exit button's right frame"

# Hovering Start fills it pink.
e2e_move "$window" 170 235 || e2e_fail "cannot move the pointer"
sleep 0.3
e2e_screenshot "$window" hover.png || e2e_fail "no screenshot"
e2e_expect_pixel hover.png 162 204 EF7598 "the hovered Start button"

# A game with three swings.
e2e_click "$window" 220 222 || e2e_fail "cannot click Start"
sleep 0.3
e2e_screenshot "$window" play.png || e2e_fail "no screenshot"
e2e_expect_pixel play.png 96 69 000000 "the field where the title panel was"
e2e_drag "$window" 100 60 160 150 || e2e_fail "cannot drag the first swing"
e2e_drag "$window" 220 60 220 200 || e2e_fail "cannot drag the second swing"
e2e_drag "$window" 340 60 280 120 || e2e_fail "cannot drag the third swing"
sleep 0.2
e2e_screenshot "$window" swings1.png || e2e_fail "no screenshot"
sleep 0.3
e2e_screenshot "$window" swings2.png || e2e_fail "no screenshot"
changed=$(compare -metric AE "$E2E_TMP/swings1.png" "$E2E_TMP/swings2.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed%.*}" -gt 100 ] 2>/dev/null || e2e_fail "the swings did not move between two screenshots ($changed pixels changed)"
ropes=$(convert "$E2E_TMP/swings2.png" -fill black +opaque '#FAFAFA' -format '%[fx:round(mean*w*h)]' info:)
[ "${ropes%.*}" -gt 50 ] 2>/dev/null || e2e_fail "no near-white ropes and outlines in the play scene ($ropes)"

# P pauses: the banner reads Pause, and neither the swings nor the time move; Space resumes.
e2e_key "$window" p || e2e_fail "cannot type P"
sleep 0.3
e2e_screenshot "$window" paused1.png || e2e_fail "no screenshot"
sleep 0.5
e2e_screenshot "$window" paused2.png || e2e_fail "no screenshot"
e2e_expect_pixel paused2.png 20 190 B7C4E0 "the banner band of the pause"
changed=$(compare -metric AE "$E2E_TMP/paused1.png" "$E2E_TMP/paused2.png" null: 2>&1 | cut -d' ' -f1)
[ "$changed" = 0 ] || e2e_fail "something moved during the pause ($changed pixels changed)"
e2e_key "$window" space || e2e_fail "cannot type Space"
sleep 0.3
e2e_screenshot "$window" resumed1.png || e2e_fail "no screenshot"
sleep 0.3
e2e_screenshot "$window" resumed2.png || e2e_fail "no screenshot"
[ "$(e2e_pixel resumed2.png 20 190)" != B7C4E0 ] || e2e_fail "the pause banner stayed after Space"
changed=$(compare -metric AE "$E2E_TMP/resumed1.png" "$E2E_TMP/resumed2.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed%.*}" -gt 100 ] 2>/dev/null || e2e_fail "the swings did not move after the resume ($changed pixels changed)"

# Escape: back to the title at once.
e2e_key "$window" Escape || e2e_fail "cannot type Escape"
sleep 0.3
e2e_screenshot "$window" back.png || e2e_fail "no screenshot"
e2e_expect_pixel back.png 96 69 FFF0F0 "the title panel after Escape"

# A close request keeps the window open.
e2e_close_request "$window" || e2e_fail "the close request could not be sent"
sleep 1
e2e_running || e2e_fail "the program ended on a close request"
xdotool search --onlyvisible --name '^Tocklet$' >/dev/null || e2e_fail "the window went away on a close request"

# Exit ends the program and writes the file back.
e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after Exit"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after Exit"
grep -q $'^Time1=12.5  ;my best run\r$' Setting.ini || e2e_fail "the remark on Time1 was lost: $(cat -A Setting.ini)"
grep -q $'^\\[Notes\\]\r$' Setting.ini && grep -q $'^favourite=blue\r$' Setting.ini ||
    e2e_fail "the unknown section was lost: $(cat -A Setting.ini)"
grep -q '^PlayNum=1' Setting.ini || e2e_fail "PlayNum was not written: $(cat -A Setting.ini)"
e2e_log "title, hover, three moving swings, a pause, Escape, close request kept, Exit saved the file"
