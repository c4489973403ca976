#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The game heard through a real sound server: a private PulseAudio with a null sink, whose
# monitor is recorded. The field is silent before the first release and heard after it; after
# M a release is silent; a restart in the same folder stays silent and M brings the sound back;
# a server killed during play and started again 6 s later is heard again within 5 s. A server
# that takes connections and never answers (stopped) neither holds the window back nor Exit,
# and is heard once it goes on. Then, with no server at all, a game plays and standard error
# stays empty.
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

# A null sink with no client asking for a short latency plays in blocks of 2 s, and a block that
# has begun ends before a new client is heard: the first 2 s of a new server, or of one stopped
# and gone on, would be silent whatever the game does. A stream of silence asking for 10 ms
# keeps it playing in short blocks as a sound card would (it ends with its server), and a
# suspend ends the sink's first block.
start_server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=t" >>"$E2E_TMP/server.log" 2>&1 &
    server=$!
    local tries
    for ((tries = 0; tries < 50; tries++)); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    pacat -p --latency-msec=10 --format=s16le --rate=48000 --channels=1 --raw </dev/zero 2>/dev/null &
    for ((; tries < 50; tries++)); do
        if [ -n "$(pactl list short sink-inputs 2>/dev/null)" ]; then
            pactl suspend-sink t 1 && pactl suspend-sink t 0 && return 0
        fi
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

# peak FILE: the loudest sample of a raw recording (0 to 32768).
peak() {
    od -An -v -t d2 -w2 "$1" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'
}

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
    peak "$E2E_TMP/take.raw"
}

# Heard: well above the null sink's silence (0); silent: nothing at all.
Audible=2000
# hang X [STEPS]: hangs a weight from X, 100, dragged there in STEPS steps (8).
hang() {
    e2e_drag "$window" $1 100 $(($1 + 60)) 160 ${2:-8} || e2e_fail "cannot hang a weight"
}

# heard_within SECONDS: records the sink while hanging weights, one after the other, until a
# release is heard, for up to SECONDS; a game that has ended meanwhile is started again. Prints
# how long it took, in milliseconds.
heard_within() {
    local start recorder level=0
    start=$(date +%s%N)
    parec --latency-msec=20 -d t.monitor --format=s16le --rate=48000 --channels=1 --raw >"$E2E_TMP/wait.raw" &
    recorder=$!
    while [ ! -s "$E2E_TMP/wait.raw" ] && kill -0 "$recorder" 2>/dev/null; do
        sleep 0.05
    done
    while [ $(($(date +%s%N) - start)) -lt $(($1 * 1000000000)) ]; do
        hang 300 2
        sleep 0.2
        level=$(peak "$E2E_TMP/wait.raw")
        [ "$level" -ge "$Audible" ] && break
        e2e_screenshot "$window" now.png || e2e_fail "cannot see the window"
        [ "$(e2e_pixel now.png 120 70)" = 000000 ] || e2e_click "$window" 220 222 || e2e_fail "cannot click Start"
    done
    kill "$recorder"
    wait "$recorder" 2>/dev/null
    [ "$level" -ge "$Audible" ] || return 1
    echo $((($(date +%s%N) - start) / 1000000))
}

# start_game [SECONDS]: the window must appear within SECONDS (10).
start_game() {
    e2e_start "$tocklet"
    window=$(e2e_find_window Tocklet "${1:-10}") || e2e_fail "the window did not appear within ${1:-10} s"
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
# A server killed during play and started again after a while is found again soon, quietly.
kill -KILL "$server"
wait "$server" 2>/dev/null
sleep 6
start_server || e2e_fail "the sound server does not start again"
took=$(heard_within 5) || e2e_fail "no sound within 5 s of the server's return after 6 s away"
e2e_log "heard again $took ms after the server came back"
exit_game
grep -qx 'On=1' Setting.ini || e2e_fail "the choice is not in the file: $(cat Setting.ini)"
e2e_log "silent before the first release, heard after; M silenced it for this run and the next"

# A server that takes the connection and never answers: the window comes as without one, the
# sound once the server goes on, and Exit is not held up by it either.
kill -STOP "$server"
start_game 5
kill -CONT "$server"
took=$(heard_within 5) || e2e_fail "no sound within 5 s of a stopped server going on"
e2e_log "heard $took ms after a stopped server went on"
kill -STOP "$server"
exit_game
kill -CONT "$server"

stop_server
rm -rf "$XDG_RUNTIME_DIR"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_game
hang 100
e2e_key "$window" m || e2e_fail "cannot press M"
exit_game
e2e_log "without a sound server the game played and said nothing"
