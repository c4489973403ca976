#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Runs sound_latency_bench against a private PulseAudio with a null sink, as the end-to-end
# sound test does; the bench records the sink's monitor. By hand, not by ./run.sh test.
#   bench/sound-latency.sh build/bench/sound_latency_bench [releases]
set -uo pipefail
bench=$(realpath "$1")
dir=$(mktemp -d)
export HOME="$dir" XDG_RUNTIME_DIR="$dir/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=t" >"$dir/server.log" 2>&1 &
server=$!
trap 'kill -TERM "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
# Without a client asking for a short latency the null sink plays in blocks of 2 s, and a new
# client is heard only after the block: a stream of silence asking for 10 ms, and a suspend that
# ends the first block, keep it playing in short blocks as a sound card would (see sound.sh).
pacat -p --latency-msec=10 --format=s16le --rate=48000 --channels=1 --raw </dev/zero 2>/dev/null &
for _ in $(seq 50); do
    [ -n "$(pactl list short sink-inputs)" ] && pactl suspend-sink t 1 && pactl suspend-sink t 0 && break
    sleep 0.1
done
"$bench" "${2:-20}"
