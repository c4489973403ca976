#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Without any display the program says so in one line on standard error and exits with 1,
# instead of aborting inside Qt.
#   no-display.sh <tocklet>
set -u
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" >"$out" 2>"$err"
status=$?
fail() { echo "FAIL: $*" >&2; echo "stderr was:" >&2; cat "$err" >&2; exit 1; }
[ "$status" -eq 1 ] || fail "exit status $status, not 1"
[ ! -s "$out" ] || fail "it printed on standard output"
[ "$(wc -l <"$err")" -eq 1 ] || fail "standard error is not one line"
grep -q "xvfb-run -a " "$err" || fail "the line does not say how to run it under xvfb-run"
echo "ok: $(cat "$err")"
