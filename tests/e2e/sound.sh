#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The game heard through a real sound server: a private PulseAudio with a null sink, whose
# monitor is recorded. The field is silent before the first release and heard after it; after
# M a release is silent; a restart in the same folder stays silent and M brings the sound back;
# a server restarted during play is heard again. Then, with no server at all, a game plays and
# standard error stays empty.
#   sound.sh <tocklet>
set -uo pipefail
source "$(dirname "$0")/lib.sh"
tocklet=$(realpath "$1")

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"
command -v pulseaudio >/dev/null && command -v parec >/dev/null || e2e_skip "no pulseaudio or parec"

export HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$HOME" "$E2E_TMP/work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$E2E_TMP/work" || e2e_fail "no working directory"
server=""
trap 'status=$?; [ -n "$server" ] && kill -KILL "$server" 2>/dev/null; (exit "$status"); e2e_cleanup' EXIT

start_server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=t" >>"$E2E_TMP/server.log" 2>&1 &
    server=$!
    for _ in $(seq 50); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

stop_server() {
    kill -TERM "$server"
    wait "$server" 2>/dev/null
    server=""
}

start_server || e2e_skip "the sound server does not start: $(tail -n 3 "$E2E_TMP/server.log")"

# loudest SECONDS [ACTION...]: records the sink for SECONDS while ACTION runs, then prints the
# loudest sample (0 to 32768).
loudest() {
    local seconds=$1 recorder
    shift
    parec --latency-msec=20 -d t.monitor --format=s16le --rate=48000 --channels=1 --raw >"$E2E_TMP/take.raw" &
    recorder=$!
    sleep 0.3
    "$@"
    sleep "$seconds"
    kill "$recorder"
    wait "$recorder" 2>/dev/null
    od -An -v -t d2 -w2 "$E2E_TMP/take.raw" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'
}

# Heard: well above the null sink's silence (0); silent: nothing at all.
Audible=2000
hang() {
    e2e_drag "$window" $1 100 $(($1 + 60)) 160 || e2e_fail "cannot hang a weight"
}

start_game() {
    e2e_start "$tocklet"
    window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
    sleep 0.5
    e2e_click "$window" 220 222 || e2e_fail "cannot click Start"
    sleep 0.5
}

exit_game() {
    e2e_key "$window" Escape && sleep 0.3 && e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
    e2e_wait_exit 10 || e2e_fail "still runs 10 s after Exit"
    [ ! -s "$E2E_TMP/program.log" ] || e2e_fail "the program said: $(cat "$E2E_TMP/program.log")"
}

start_game
level=$(loudest 1)
[ "$level" -eq 0 ] || e2e_fail "the field was heard ($level) before any weight was hung"
level=$(loudest 0.5 hang 100)
[ "$level" -ge "$Audible" ] || e2e_fail "a release was not heard: loudest $level"
e2e_key "$window" m || e2e_fail "cannot press M"
level=$(loudest 0.5 hang 200)
[ "$level" -eq 0 ] || e2e_fail "a release after M was heard: loudest $level"
exit_game
grep -qx 'On=0' Setting.ini || e2e_fail "the choice is not in the file: $(cat Setting.ini)"

start_game
level=$(loudest 0.5 hang 100)
[ "$level" -eq 0 ] || e2e_fail "after a restart a release was heard: loudest $level"
e2e_key "$window" m || e2e_fail "cannot press M"
level=$(loudest 0.5 hang 200)
[ "$level" -ge "$Audible" ] || e2e_fail "M did not bring the sound back: loudest $level"
# A server that restarts during play is found again within a few seconds, quietly.
stop_server
start_server || e2e_fail "the sound server does not start again"
sleep 4.5
level=$(loudest 0.5 hang 300)
[ "$level" -ge "$Audible" ] || e2e_fail "no sound 4.5 s after the server came back: loudest $level"
exit_game
grep -qx 'On=1' Setting.ini || e2e_fail "the choice is not in the file: $(cat Setting.ini)"
e2e_log "silent before the first release, heard after; M silenced it for this run and the next"

stop_server
rm -rf "$XDG_RUNTIME_DIR"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_game
hang 100
e2e_key "$window" m || e2e_fail "cannot press M"
exit_game
e2e_log "without a sound server the game played and said nothing"
