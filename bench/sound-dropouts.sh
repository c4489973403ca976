#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Crackle under load: the real program under Xvfb plays into a private PulseAudio whose null
# sink (48 kHz mono, so nothing is resampled) is recorded from its monitor with parec, while
# busy loops (`yes >/dev/null`) keep the cores busy beside it. xdotool hangs weights until the
# game has released TOCKS of them, each by a drag inside the Start button (on the title the same
# drag presses Start, so a game that ends is started again). sound_dropouts counts the dropouts
# and abrupt starts and ends in the recording; prints one row of the table in BENCHMARKS.md.
# "realtime" gives the server's main thread, which passes the sink's requests for samples to
# the clients, a real-time priority (as root), so that on a machine busy with other work the
# figures are the game's own and not the server's wait for a core. By hand, not by ./run.sh test.
#   bench/sound-dropouts.sh [build dir] [tocks] [busy loops] [plain|realtime]
#   defaults: build, 150 tocks, 2 busy loops, plain.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
build=$(realpath "${1:-$here/../build}")
tocks=${2:-150}
loops=${3:-2}
priority=${4:-plain}
tocklet="$build/app/tocklet"
count="$build/bench/sound_dropouts"
[ -x "$tocklet" ] && [ -x "$count" ] || { echo "build tocklet and sound_dropouts in $build first" >&2; exit 2; }

e2e_init
e2e_start_xvfb || e2e_fail "Xvfb cannot start"
export HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$HOME" "$E2E_TMP/work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$E2E_TMP/work" || e2e_fail "no working directory"
server="" recorder=""
trap 'status=$?; kill -KILL $recorder $server 2>/dev/null; (exit "$status"); e2e_cleanup' EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=t rate=48000 channels=1 format=s16le" >"$E2E_TMP/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || e2e_fail "the sound server does not start: $(tail -n 3 "$E2E_TMP/server.log")"
# Without a client asking for a short latency the null sink plays in blocks of 2 s (see sound.sh):
# a stream of silence asking for 10 ms, and a suspend that ends the first block, keep it playing
# in short blocks as a sound card would.
pacat -p --latency-msec=10 --format=s16le --rate=48000 --channels=1 --raw </dev/zero 2>/dev/null &
for _ in $(seq 50); do
    [ -n "$(pactl list short sink-inputs)" ] && pactl suspend-sink t 1 && pactl suspend-sink t 0 && break
    sleep 0.1
done
if [ "$priority" = realtime ]; then
    chrt -r -p 4 "$server" || e2e_fail "the server's main thread cannot have a real-time priority"
fi

e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
sleep 1
parec --latency-msec=20 -d t.monitor --format=s16le --rate=48000 --channels=1 --raw >"$E2E_TMP/take.raw" &
recorder=$!
for _ in $(seq "$loops"); do
    yes >/dev/null &
    E2E_BUSY_PIDS+=("$!")
done

# The title's panel is light; the field is black there (a shadow over it is grey at most).
on_title() {
    import -window "$window" -crop 1x1+120+70 txt:- 2>/dev/null | grep -q 'srgb(255,240,240)'
}

released=0
while [ "$released" -lt "$tocks" ]; do
    if on_title; then
        e2e_drag "$window" 170 205 270 240 || e2e_fail "cannot press Start"
        sleep 0.5
        continue
    fi
    e2e_drag "$window" 170 205 270 240 || e2e_fail "cannot hang a weight"
    released=$((released + 1))
    sleep 0.2
done
sleep 1
if [ "${#E2E_BUSY_PIDS[@]}" -gt 0 ]; then
    kill -KILL "${E2E_BUSY_PIDS[@]}"
    wait "${E2E_BUSY_PIDS[@]}" 2>/dev/null
    E2E_BUSY_PIDS=()
fi
kill -TERM "$recorder"
wait "$recorder" 2>/dev/null
recorder=""

kill -TERM "$server"
wait "$server" 2>/dev/null
server=""

echo "| server | busy loops | tocks | recorded | sounds heard | dropouts | abrupt starts | abrupt ends |"
echo "|---|---|---|---|---|---|---|---|"
echo "| $priority | $loops | $tocks $("$count" "$E2E_TMP/take.raw")"
