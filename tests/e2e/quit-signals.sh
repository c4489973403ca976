#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# A signal ends the real program as Exit does: the game stops, the window goes, the table is
# saved and the status is 0. The file holds only Time1 with a remark, so that the save shows:
# every key comes back, the remark kept.
#   quit-signals.sh <case> <tocklet>
# Cases: term-during-a-game, int-on-the-title, hup-on-the-title.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
case_name=$1
tocklet=$(realpath "$2")

e2e_init
# A server that resets when its last client leaves, as under xvfb-run: the program is its first.
e2e_start_xvfb resetting || e2e_skip "Xvfb cannot start, so there is no window to test"
work="$E2E_TMP/work"
mkdir -p "$work"
# A private runtime directory keeps Qt quiet, so that standard error holds only the program's.
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work" || e2e_fail "no working directory"
printf '[Score]\nTime1=8.5  ;my best\n' >Setting.ini

e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
sleep 0.3
case "$case_name" in
term-during-a-game)
    signal=TERM
    e2e_click "$window" 220 222 || e2e_fail "cannot click Start"
    e2e_drag "$window" 100 60 160 150 || e2e_fail "cannot drag a swing"
    ;;
int-on-the-title) signal=INT ;;
hup-on-the-title) signal=HUP ;;
*) e2e_fail "unknown case $case_name" ;;
esac
# Twice: the second arrives while the first is handled and must do no harm.
kill -"$signal" "$E2E_PID" && kill -"$signal" "$E2E_PID" || e2e_fail "cannot send SIG$signal"
e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after SIG$signal"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after SIG$signal, not 0"
[ ! -s "$E2E_TMP/program.log" ] || e2e_fail "the program complained"
grep -q '^Time1=8.5  ;my best$' Setting.ini || e2e_fail "the remark on Time1 was lost: $(cat -A Setting.ini)"
for key in Score1 Score5 Time5 Regist PlayNum; do
    grep -q "^$key=" Setting.ini || e2e_fail "SIG$signal did not save $key: $(cat -A Setting.ini)"
done
[ "$(ls -A)" = Setting.ini ] || e2e_fail "files were left behind: $(ls -A)"
e2e_log "$case_name: SIG$signal twice ended the program with status 0 and saved the table"
