#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# A whole session of the real game in a real X window: the title with the best time, a game
# that opens with a hint, three swings that move and put the hint away, a pause that holds them
# and the time, Escape back to the title with the best time and no stale hover, a second game
# whose time starts again, the About box from the right button twenty times with a game running
# and not, a close request that keeps the window, Exit that ends the program and writes the
# settings file back with its remark and its unknown section kept. Then two more runs: a game
# whose one weight falls off the field ends in GameOver!!, the title shows its time and Exit
# leaves it in the file ahead of the times it beats, and the records show it marked, with R or
# the Read button; its replay ends as the game did, Escape ends it early, and the records give
# the same title back; Start, Escape, Exit changes no byte.
# With two-copies instead: two copies of the program in one folder each lose a game while the
# other plays, and Exit ends them in both orders; both records are in the file.
#   game-window.sh <tocklet> [two-copies]
set -uo pipefail
source "$(dirname "$0")/lib.sh"
tocklet=$(realpath "$1")

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"

work="$E2E_TMP/work"
mkdir -p "$work"
printf '[Score]\r\nScore1=7\r\nTime1=12.5  ;my best run\r\n[Notes]\r\nfavourite=blue\r\n' >"$work/Setting.ini"
cd "$work" || e2e_fail "no working directory"

# copies FIRST SECOND: both copies start on one file and lose a game at the same time, the first
# with one weight and the second with two, so that the scores tell their records apart; Exit
# ends FIRST, then SECOND.
copies() {
    local first=$1 second=$2 copy weight scores
    local -A window
    printf '[Score]\nScore1=5\nScore2=1\nTime1=30.5  ;mine\nTime2=4\n' >Setting.ini
    for copy in 1 2; do
        "$tocklet" >"$E2E_TMP/copy$copy.log" 2>&1 &
        pids[copy]=$!
        window[$copy]=$(timeout 10 xdotool search --all --sync --onlyvisible --pid "${pids[copy]}" --name '^Tocklet$' |
            head -n 1)
        [ -n "${window[$copy]}" ] || e2e_fail "copy $copy showed no window"
        # Side by side: without a window manager both would open in the middle of the screen.
        xdotool windowmove --sync "${window[$copy]}" $(((copy - 1) * 520)) 0 || e2e_fail "cannot move copy $copy"
    done
    sleep 0.5
    for copy in 1 2; do
        e2e_click "${window[$copy]}" 220 222 || e2e_fail "cannot click Start in copy $copy"
        sleep 0.3
        for ((weight = 1; weight <= copy; weight++)); do
            e2e_drag "${window[$copy]}" $((100 * weight)) 400 $((100 * weight + 60)) 400 ||
                e2e_fail "cannot hang a weight in copy $copy"
        done
    done
    for copy in 1 2; do
        e2e_wait_pixel "${window[$copy]}" copy.png 96 69 FFF0F0 ||
            e2e_fail "copy $copy was not back on the title 30 s after its game"
    done
    for copy in "$first" "$second"; do
        e2e_click "${window[$copy]}" 220 290 || e2e_fail "cannot click Exit in copy $copy"
        E2E_PID=${pids[copy]}
        e2e_wait_exit 10 || e2e_fail "copy $copy still runs 10 s after Exit"
        [ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS of copy $copy"
        [ ! -s "$E2E_TMP/copy$copy.log" ] || e2e_fail "copy $copy said: $(cat "$E2E_TMP/copy$copy.log")"
    done
    scores=$(grep -E '^Score[23]=' Setting.ini | cut -d= -f2 | sort | paste -sd ' ')
    grep -q '^Time1=30.5  ;mine$' Setting.ini && [ "$(grep -cE '^Time[23]=1[0-9](\.[0-9])?$' Setting.ini)" -eq 2 ] &&
        [ "$scores" = "1 2" ] && grep -q '^Time4=4$' Setting.ini && grep -q '^Score4=1$' Setting.ini ||
        e2e_fail "exited $first then $second: the two games are not second and third: $(cat Setting.ini)"
}

if [ "${2:-}" = two-copies ]; then
    # Each copy's standard error must hold only what the program says.
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    pids=()
    trap 'status=$?; kill -KILL "${pids[@]}" 2>/dev/null; (exit "$status"); e2e_cleanup' EXIT
    copies 1 2
    copies 2 1
    e2e_log "two copies lost a game each at once; exited in both orders, both games stayed in the file"
    exit 0
fi

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
# count_colour FILE RRGGBB [GEOMETRY]: pixels of that colour, in the crop if one is given.
count_colour() {
    convert "$E2E_TMP/$1" ${3:+-crop "$3"} -fill black +opaque "#$2" -fill white -opaque "#$2" \
        -format '%[fx:round(mean*w*h)]' info:
}
[ "$(count_colour title.png FAFAFA 449x95+0+312)" -gt 20 ] || e2e_fail "no best time under the buttons"

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
[ "$(count_colour play.png 505050)" -gt 200 ] || e2e_fail "no hint at the start of the game"
e2e_drag "$window" 100 60 160 150 || e2e_fail "cannot drag the first swing"
e2e_drag "$window" 220 60 220 200 || e2e_fail "cannot drag the second swing"
e2e_drag "$window" 340 60 280 120 || e2e_fail "cannot drag the third swing"
sleep 0.2
e2e_screenshot "$window" swings1.png || e2e_fail "no screenshot"
sleep 0.3
e2e_screenshot "$window" swings2.png || e2e_fail "no screenshot"
e2e_expect_changed swings1.png swings2.png 100 "the swings did not move between two screenshots"
ropes=$(convert "$E2E_TMP/swings2.png" -fill black +opaque '#FAFAFA' -format '%[fx:round(mean*w*h)]' info:)
[ "${ropes%.*}" -gt 50 ] 2>/dev/null || e2e_fail "no near-white ropes and outlines in the play scene ($ropes)"
# The ropes' and the time text's edges may hold a few pixels of the hint's grey.
[ "$(count_colour swings2.png 505050)" -lt 20 ] || e2e_fail "the hint stayed after the first swing"

# P pauses: the banner reads Pause, and neither the swings nor the time move; Space resumes.
e2e_key "$window" p || e2e_fail "cannot type P"
sleep 0.3
e2e_screenshot "$window" paused1.png || e2e_fail "no screenshot"
sleep 0.5
e2e_screenshot "$window" paused2.png || e2e_fail "no screenshot"
e2e_expect_pixel paused2.png 20 190 B7C4E0 "the banner band of the pause"
e2e_expect_same paused1.png paused2.png "something moved during the pause"
e2e_key "$window" space || e2e_fail "cannot type Space"
sleep 0.3
e2e_screenshot "$window" resumed1.png || e2e_fail "no screenshot"
sleep 0.3
e2e_screenshot "$window" resumed2.png || e2e_fail "no screenshot"
[ "$(e2e_pixel resumed2.png 20 190)" != B7C4E0 ] || e2e_fail "the pause banner stayed after Space"
e2e_expect_changed resumed1.png resumed2.png 100 "the swings did not move after the resume"

# Escape: back to the title at once.
e2e_key "$window" Escape || e2e_fail "cannot type Escape"
sleep 0.3
e2e_screenshot "$window" back.png || e2e_fail "no screenshot"
e2e_expect_pixel back.png 96 69 FFF0F0 "the title panel after Escape"
e2e_expect_pixel back.png 162 204 000000 "Start, not hovered with the pointer elsewhere,"
e2e_expect_same title.png back.png "the title after the game does not show the best time" 449x95+0+312

# A second game starts from 0 with the hint, not from the last game's time.
e2e_click "$window" 220 222 || e2e_fail "cannot click Start again"
sleep 0.3
e2e_screenshot "$window" second.png || e2e_fail "no screenshot"
[ "$(count_colour second.png 505050)" -gt 200 ] || e2e_fail "no hint at the start of the second game"
# The whole seconds of the time text, "0" in both games 0.3 s after the start; the first game
# was seconds old when it ended.
e2e_expect_same second.png play.png "the second game's time does not start again from 0" 10x20+55+6

# The right button's menu opens the About box, ten times during the game and ten on the title.
about_title='Tockletのﾊﾞｰｼﾞｮﾝ情報'
other_windows() {
    xdotool search --onlyvisible --name '' 2>/dev/null | grep -cvx "$window"
}
without_menu=$(other_windows)
for round in $(seq 20); do
    [ "$round" -eq 11 ] && { e2e_key "$window" Escape || e2e_fail "cannot type Escape"; }
    e2e_click "$window" 60 $((330 + round)) 3 || e2e_fail "cannot click the right button"
    sleep 0.3
    [ "$(other_windows)" -gt "$without_menu" ] ||
        e2e_fail "round $round: the menu was gone 0.3 s after the right button"
    xdotool mousemove_relative 15 8 click 1
    about=$(timeout 5 xdotool search --sync --onlyvisible --name "^$about_title\$" 2>/dev/null | head -n 1)
    [ -n "$about" ] || e2e_fail "round $round: no About box from the menu entry"
    e2e_key "$about" Return || e2e_fail "cannot close the About box"
    for ((tries = 0; tries < 50; tries++)); do
        xdotool search --onlyvisible --name "^$about_title\$" >/dev/null 2>&1 || break
        sleep 0.1
    done
    [ "$tries" -lt 50 ] || e2e_fail "round $round: the About box did not close on Return"
done
e2e_screenshot "$window" after-about.png || e2e_fail "no screenshot"
e2e_expect_pixel after-about.png 96 69 FFF0F0 "the title panel after the About boxes"

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

# A lost game. Its one weight, hung level with its anchor at the bottom edge, drops below the
# field for good: it is lost after 2 s and the game is over when the 10 s grace ends.
printf '[Score]\nScore1=5\nScore2=1\nTime1=30.5  ;mine\nTime2=4\n' >Setting.ini
TOCKLET_SEED=20261208 e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear for the lost game"
sleep 0.5
e2e_screenshot "$window" before-loss.png || e2e_fail "no screenshot"
e2e_click "$window" 220 222 || e2e_fail "cannot click Start for the lost game"
sleep 0.3
e2e_drag "$window" 200 400 260 400 || e2e_fail "cannot hang the weight"
e2e_wait_pixel "$window" lost.png 20 190 B7C4E0 || e2e_fail "no GameOver!! banner 30 s into a game without a weight"
[ "$(count_colour lost.png FFFFFF 449x60+0+174)" -gt 100 ] || e2e_fail "no banner text on the band"
sleep 3
e2e_screenshot "$window" after-loss.png || e2e_fail "no screenshot"
e2e_expect_pixel after-loss.png 96 69 FFF0F0 "the title panel after GameOver!!"
e2e_expect_changed before-loss.png after-loss.png 100 "the title does not show the lost game's time" 449x95+0+312
# R shows the records: three times, the lost game's second and pink, two empty places; Escape
# brings the same title back. The Read button does the same, and a click anywhere goes back.
# Looking changes nothing: Exit then writes the file as the game's end saved it.
cp Setting.ini at-loss.ini
e2e_key "$window" r || e2e_fail "cannot type R"
sleep 0.3
e2e_screenshot "$window" records.png || e2e_fail "no screenshot"
[ "$(count_colour records.png EF7598 449x36+0+206)" -gt 50 ] || e2e_fail "the lost game's row is not marked"
[ "$(count_colour records.png EF7598 449x36+0+170)" -eq 0 ] || e2e_fail "the best time's row is marked"
[ "$(count_colour records.png FAFAFA 449x36+0+242)" -gt 50 ] || e2e_fail "no third time on the records"
for top in 278 314; do
    [ "$(count_colour records.png 8C8C8C 449x36+0+$top)" -gt 50 ] || e2e_fail "no empty place at $top"
    [ "$(count_colour records.png FAFAFA 449x36+0+$top)" -eq 0 ] || e2e_fail "a time in the empty place at $top"
done
e2e_key "$window" Escape || e2e_fail "cannot type Escape"
sleep 0.3
e2e_screenshot "$window" after-records.png || e2e_fail "no screenshot"
e2e_expect_same after-loss.png after-records.png "the title after the records differs"
e2e_click "$window" 389 29 || e2e_fail "cannot click Read"
sleep 0.3
e2e_screenshot "$window" records-read.png || e2e_fail "no screenshot"
e2e_expect_same records.png records-read.png "the Read button showed other records than R"
# The lost game's row has a replay: Down picks it, Enter watches it, three Right arrows play
# it at x8. It ends as the game did, the same field under the same banner and the saved time
# where the game showed its time; then the records show again. Escape ends another replay.
e2e_key "$window" Down || e2e_fail "cannot type Down"
e2e_wait_pixel "$window" picked.png 53 209 8C8C8C 5 || e2e_fail "Down did not pick the lost game's row"
e2e_key "$window" Return || e2e_fail "cannot type Return"
e2e_wait_pixel "$window" replay.png 96 69 000000 10 || e2e_fail "Enter did not play the lost game's replay"
e2e_key "$window" Right Right Right || e2e_fail "cannot type Right"
e2e_wait_pixel "$window" replay-end.png 20 190 B7C4E0 60 || e2e_fail "the replay showed no GameOver!!"
e2e_expect_same lost.png replay-end.png "the replay ended on another field than the game" 449x360+0+26
time_box=$(convert "$E2E_TMP/lost.png" -crop 200x20+0+6 +repage -format '%@' info:)
time_right=$(((${time_box%%x*}) + $(cut -d+ -f2 <<<"$time_box")))
[ "$time_right" -gt 40 ] || e2e_fail "no time text at the game's end ($time_box)"
e2e_expect_same lost.png replay-end.png "the replay's end shows another time than the saved one" \
    "${time_right}x20+0+6"
e2e_wait_pixel "$window" after-replay.png 96 69 FFF0F0 10 || e2e_fail "no records after the replay"
e2e_expect_same picked.png after-replay.png "the records after the replay differ"
e2e_key "$window" Return || e2e_fail "cannot type Return"
e2e_wait_pixel "$window" replay2.png 96 69 000000 10 || e2e_fail "Enter did not play the replay again"
e2e_key "$window" Escape || e2e_fail "cannot type Escape"
e2e_wait_pixel "$window" after-escape.png 96 69 FFF0F0 10 || e2e_fail "Escape did not end the replay"
e2e_expect_same picked.png after-escape.png "the records after Escape from a replay differ"
e2e_click "$window" 30 380 || e2e_fail "cannot click on the records"
e2e_move "$window" 5 400 || e2e_fail "cannot move the pointer"
sleep 0.3
e2e_screenshot "$window" after-read.png || e2e_fail "no screenshot"
e2e_expect_same after-loss.png after-read.png "the title after a click on the records differs"
e2e_click "$window" 220 290 || e2e_fail "cannot click Exit after the lost game"
e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after Exit"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after the lost game"
grep -q '^Time1=30.5  ;mine$' Setting.ini && grep -qE '^Time2=1[0-9](\.[0-9])?$' Setting.ini &&
    grep -q '^Time3=4$' Setting.ini && grep -q '^Score2=1$' Setting.ini && grep -q '^Score3=1$' Setting.ini ||
    e2e_fail "the lost game's time is not second in the file: $(cat Setting.ini)"
cmp -s Setting.ini at-loss.ini || e2e_fail "looking at the records changed the file: $(diff at-loss.ini Setting.ini)"

# Start, Escape, Exit: the file comes back byte for byte.
cp Setting.ini kept.ini
e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear for the left game"
sleep 0.5
e2e_click "$window" 220 222 || e2e_fail "cannot click Start for the left game"
e2e_drag "$window" 100 60 160 150 || e2e_fail "cannot drag a swing"
sleep 0.5
e2e_key "$window" Escape || e2e_fail "cannot type Escape"
sleep 0.3
e2e_click "$window" 220 290 || e2e_fail "cannot click Exit after the left game"
e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after Exit"
cmp -s Setting.ini kept.ini || e2e_fail "a game left with Escape changed the file: $(diff kept.ini Setting.ini)"

e2e_log "title, hint, three moving swings, a pause, Escape to the best time, a second game, 20 About boxes,"\
    "close request kept, Exit saved the file; a lost game recorded second; a left game recorded nothing"
