#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The language follows the desktop's: a Japanese desktop and the C locale get the program's own
# Japanese title, pixel for pixel the reviewed image; an English one gets the reviewed English
# title. A seeded game lost the same way under Japanese and English records the same time.
#   languages.sh <tocklet> <reference folder>
#   languages.sh --take <tocklet> <reference folder>   writes the reference images anew
set -uo pipefail
source "$(dirname "$0")/lib.sh"
take=false
[ "${1:-}" = --take ] && { take=true; shift; }
tocklet=$(realpath "$1")
reference=$(realpath "$2")

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"
work="$E2E_TMP/work"
mkdir -p "$work"
cd "$work" || e2e_fail "no working directory"

# title LANG NAME: the title screen under that LANG, with the pointer off the buttons, as NAME.png.
title() {
    printf '[Score]\nScore1=7\nTime1=75.3\n' >Setting.ini
    LANG=$1 e2e_start "$tocklet"
    window=$(e2e_find_window Tocklet) || e2e_fail "LANG=$1: the window did not appear"
    sleep 0.5
    e2e_move "$window" 5 400 || e2e_fail "cannot move the pointer"
    sleep 0.3
    e2e_screenshot "$window" "$2.png" || e2e_fail "no screenshot"
    e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
    e2e_wait_exit 10 || e2e_fail "LANG=$1: the program still runs 10 s after Exit"
}

title ja_JP.UTF-8 ja
title C c
title en_US.UTF-8 en
if $take; then
    convert "$E2E_TMP/ja.png" -strip "png:$reference/title-ja.png"
    convert "$E2E_TMP/en.png" -strip "png:$reference/title-en.png"
    e2e_log "wrote $reference/title-ja.png and title-en.png"
    exit 0
fi
for shot in ja c; do
    e2e_expect_same $shot.png "$reference/title-ja.png" "the $shot title differs from the Japanese one"
done
e2e_expect_same en.png "$reference/title-en.png" "the English title differs from the reviewed one"

# lost_game LANG: a seeded game whose one weight drops off the bottom edge, lost when the grace
# ends; prints the time it recorded.
lost_game() {
    printf '[Score]\n' >Setting.ini
    LANG=$1 TOCKLET_SEED=20261207 e2e_start "$tocklet"
    window=$(e2e_find_window Tocklet) || e2e_fail "LANG=$1: the window did not appear"
    sleep 0.5
    e2e_click "$window" 220 222 || e2e_fail "cannot click Start"
    sleep 0.3
    e2e_drag "$window" 200 400 260 400 || e2e_fail "cannot hang the weight"
    local waited
    for ((waited = 0; waited < 300; waited++)); do
        grep -q '^Time1=[1-9]' Setting.ini && break
        sleep 0.1
    done
    [ "$waited" -lt 300 ] || e2e_fail "LANG=$1: no time recorded 30 s into a game without a weight"
    sleep 2.5
    e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
    e2e_wait_exit 10 || e2e_fail "LANG=$1: the program still runs 10 s after Exit"
    sed -n 's/^Time1=//p' Setting.ini
}

japanese=$(lost_game ja_JP.UTF-8)
english=$(lost_game en_US.UTF-8)
# The game ends on the same tick in both; the time is the clock's, so the two may differ by the
# length of a few passes, but never by what the words round the number would make of it.
awk -v a="$japanese" -v b="$english" 'BEGIN { d = a - b; exit !(a >= 10 && b >= 10 && d < 0.5 && d > -0.5) }' ||
    e2e_fail "the same game recorded $japanese s in Japanese and $english s in English"
e2e_log "Japanese and C titles as reviewed, English title as reviewed; the seeded game recorded" \
    "$japanese s in Japanese and $english s in English"
