#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Without a display it can open the program says so in one line on standard error and exits
# with 1, instead of aborting inside Qt: no DISPLAY, a DISPLAY where no X server answers, a
# Wayland platform without its plugin or compositor, a platform that does not exist, and an X
# server that answers but has not the screen asked for, which only Qt finds out, fatally, and
# one that refuses a client without its authorisation (the X library's own words go into the
# program's one line). The
# settings file is neither read nor written, and nothing is left beside it.
#   no-display.sh <tocklet>
set -u
tocklet=$(realpath "$1")
work=$(mktemp -d)
xvfb=""
trap '[ -z "$xvfb" ] || kill "$xvfb"; rm -rf "$work"' EXIT
mkdir -p "$work/dir" "$work/runtime"
chmod 700 "$work/runtime"
cd "$work/dir" || exit 1
printf '[Score]\r\nTime1=3.5  ;kept as it is\r\n' >Setting.ini
touch -d '2001-01-01 00:00' Setting.ini
cp -p Setting.ini "$work/old.ini"
free_display=987
while [ -e "/tmp/.X11-unix/X$free_display" ] || [ -e "/tmp/.X$free_display-lock" ]; do
    free_display=$((free_display + 1))
done

# expect_one_line WHAT PATTERN [VARIABLE=VALUE...]
expect_one_line() {
    local what=$1 pattern=$2
    shift 2
    env -u DISPLAY -u WAYLAND_DISPLAY -u WAYLAND_SOCKET -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
        XDG_RUNTIME_DIR="$work/runtime" "$@" "$tocklet" >"$work/out" 2>"$work/err"
    local status=$?
    fail() { echo "FAIL ($what): $*" >&2; echo "stderr was:" >&2; cat "$work/err" >&2; exit 1; }
    [ "$status" -eq 1 ] || fail "exit status $status, not 1"
    [ ! -s "$work/out" ] || fail "it printed on standard output"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "standard error is not one line"
    grep -q -- "$pattern" "$work/err" || fail "the line does not say \"$pattern\""
    grep -q "xvfb-run -a " "$work/err" || fail "the line does not say how to run it under xvfb-run"
    cmp -s Setting.ini "$work/old.ini" && [ Setting.ini -ot "$work/err" ] && [ ! Setting.ini -nt "$work/old.ini" ] ||
        fail "Setting.ini was touched"
    [ "$(ls -A)" = Setting.ini ] || fail "it left files behind: $(ls -A)"
    echo "ok ($what): $(cat "$work/err")"
}

expect_one_line "no display" "neither DISPLAY nor WAYLAND_DISPLAY is set"
expect_one_line "no X server" "no X server accepts a connection on DISPLAY :$free_display" DISPLAY=":$free_display"
expect_one_line "no Wayland" "wayland" QT_QPA_PLATFORM=wayland
expect_one_line "no such platform" 'no Qt platform "nosuch" is installed' QT_QPA_PLATFORM=nosuch DISPLAY=":$free_display"

command -v Xvfb >/dev/null || { echo "skipped (no screen): Xvfb is not installed"; exit 0; }
cookie=0123456789abcdef0123456789abcdef
touch "$work/xauth"
xauth -f "$work/xauth" add ":$free_display" . "$cookie" 2>/dev/null
Xvfb -displayfd 3 -nolisten tcp -noreset -auth "$work/xauth" 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    grep -q '^[0-9][0-9]*$' "$work/display" && break
    sleep 0.1
done
display=$(cat "$work/display")
[ -n "$display" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
xauth -f "$work/client-xauth" add ":$display" . "$cookie" 2>/dev/null
expect_one_line "no such screen" "could not connect to display :$display.7" DISPLAY=":$display.7" \
    XAUTHORITY="$work/client-xauth"
expect_one_line "no authorisation" "the X server on :$display refused the connection: Authorization required" \
    DISPLAY=":$display" XAUTHORITY="$work/none"
