#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Runs sound_latency_bench against a private PulseAudio with a null sink, as the end-to-end
# sound test does, whose monitor it offers as the source "heard" (Qt lists no monitors); by
# hand, not by ./run.sh test.
#   bench/sound-latency.sh build/bench/sound_latency_bench [releases]
set -uo pipefail
bench=$(realpath "$1")
dir=$(mktemp -d)
export HOME="$dir" XDG_RUNTIME_DIR="$dir/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=t" \
    --load="module-remap-source master=t.monitor source_name=heard" >"$dir/server.log" 2>&1 &
server=$!
trap 'kill -TERM "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
"$bench" "${2:-20}"
