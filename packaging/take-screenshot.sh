#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Takes the title screen shown in the AppStream metainfo from the real program under Xvfb, with
# a best time in its settings file so that the screen shows one.
#   take-screenshot.sh <tocklet> <output PNG>
set -uo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh"
tocklet=$(realpath "$1")
output=$(realpath "$2")

e2e_init
e2e_start_xvfb || e2e_fail "Xvfb cannot start"
work="$E2E_TMP/work"
mkdir -p "$work"
printf '[Score]\nScore1=3\nTime1=42.7\n' >"$work/Setting.ini"
cd "$work" || e2e_fail "no working directory"
e2e_start "$tocklet"
window=$(e2e_find_window Tocklet 15) || e2e_fail "the window did not appear"
sleep 1
e2e_screenshot "$window" title.png || e2e_fail "no screenshot"
# Stripped of its time stamps, so that a shot of an unchanged screen is the same file.
convert "$E2E_TMP/title.png" -strip "png:$output" || e2e_fail "cannot write $output"
e2e_terminate 10 || e2e_fail "the program still runs 10 s after SIGTERM"
e2e_log "wrote $output"
