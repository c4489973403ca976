#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The real program on the real accessibility bus, read by a script as a screen reader reads it:
# in Japanese the three buttons by name, Read pressed by its action and its five rows read, back
# with Enter, a game started with Enter and a weight hung with the keys alone, then GameOver!!
# heard with the time that Setting.ini then holds; in English the buttons again, and Exit
# pressed by its action ends the program.
#   screen-reader.sh <tocklet>
set -uo pipefail
if [ -z "${E2E_SESSION_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "e2e: SKIPPED: no dbus-run-session" >&2; exit 77; }
    E2E_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
tocklet=$(realpath "$1")
here=$(dirname "$(realpath "$0")")

e2e_init
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || e2e_skip "python3-pyatspi is not installed"
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"
export HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# The bus launcher takes the session bus's environment: without these it would put its socket
# in the machine's own home, where every other test's bus is too.
dbus-update-activation-environment HOME XDG_RUNTIME_DIR DISPLAY || e2e_fail "the session bus takes no environment"
gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress >/dev/null ||
    e2e_fail "the accessibility bus does not start"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
work="$E2E_TMP/work"
mkdir -p "$work" && cd "$work" || e2e_fail "no working directory"

# read LANG MODE: runs the program under LANG and the reader script in MODE; prints what it heard.
read_program() {
    LANG=$1 e2e_start "$tocklet"
    /usr/bin/python3 "$here/screen-reader.py" "$2" || e2e_fail "LANG=$1: the reader failed"
    e2e_wait_exit 10 || e2e_fail "LANG=$1: the program still runs 10 s after Exit was pressed"
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "LANG=$1: exit status $E2E_STATUS"
}

printf '[Score]\nScore1=7\nTime1=75.3\n' >Setting.ini
over=$(read_program ja_JP.UTF-8 full) || exit 1
seconds=$(sed -n 's/^GameOver!! 今回のタイム:\([0-9.]*\)秒　記録2位$/\1/p' <<<"$over")
[ -n "$seconds" ] || e2e_fail "heard \"$over\", not GameOver!! with this game's time in second place"
awk -F= -v s="$seconds" '$1 == "Time2" && $2 == s + 0 { found = 1 } END { exit !found }' Setting.ini ||
    e2e_fail "heard $seconds s, but Setting.ini holds $(cat Setting.ini)"
read_program en_US.UTF-8 names
e2e_log "read the buttons, the records and the field; heard GameOver!! after $seconds s, as saved"
