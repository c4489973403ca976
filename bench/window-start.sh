#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# How long the real program takes from its start to a visible window under Xvfb, with no sound
# server, with a private PulseAudio, and with that server stopped (SIGSTOP: it takes the
# connection and never answers). Each start is ended by SIGTERM once its window is seen; the
# window is looked for every 10 ms or so (each look is an xdotool run), which bounds the
# precision. Prints a Markdown table; by hand, not by ./run.sh test.
#   bench/window-start.sh [tocklet] [starts]
#   defaults: build/app/tocklet, 10 starts each.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
tocklet=$(realpath "${1:-$here/../build/app/tocklet}")
starts=${2:-10}

e2e_init
e2e_start_xvfb || e2e_fail "Xvfb cannot start"
export HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -p "$HOME" "$E2E_TMP/work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$E2E_TMP/work" || e2e_fail "no working directory"
server=""
trap 'status=$?; [ -n "$server" ] && kill -KILL "$server" 2>/dev/null; (exit "$status"); e2e_cleanup' EXIT

# start_once: prints the milliseconds from the start to the visible window.
start_once() {
    local begin now
    begin=$(date +%s%N)
    e2e_start "$tocklet"
    until xdotool search --onlyvisible --name '^Tocklet$' >/dev/null 2>&1; do
        now=$(date +%s%N)
        [ $((now - begin)) -lt 60000000000 ] || e2e_fail "no window within 60 s"
        sleep 0.01
    done
    now=$(date +%s%N)
    kill -TERM "$E2E_PID"
    e2e_wait_exit 60 || e2e_fail "the program did not end within 60 s of SIGTERM"
    echo $(((now - begin) / 1000000))
}

# measure LABEL: one row of the table from the given number of starts.
measure() {
    local times=() i
    for ((i = 0; i < starts; i++)); do
        times+=("$(start_once)")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk -v label="$1" '{ t[NR] = $1 }
        END { printf "| %s | %d | %d ms | %d ms | %d ms |\n", label, NR, t[1], t[int((NR + 1) / 2)], t[NR] }'
}

echo "| sound server | starts | fastest | median | slowest |"
echo "|---|---|---|---|---|"
measure "none"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=t" >"$E2E_TMP/server.log" 2>&1 &
server=$!
for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || e2e_fail "the sound server does not start"
measure "running"
kill -STOP "$server"
measure "stopped (SIGSTOP)"
kill -CONT "$server"
kill -TERM "$server"
wait "$server" 2>/dev/null
server=""
