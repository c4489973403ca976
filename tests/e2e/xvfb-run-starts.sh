#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The real program started again and again under plain `xvfb-run -a`, as the README advises,
# with every core kept busy: every start reaches its window and SIGTERM then ends it with status
# 0. That X server resets when its last client leaves and drops the connections made meanwhile,
# so a start that connects, lets go and connects again can lose the second connection and
# fail. No other client may be connected while the program starts, or the server would not
# reset: the window is looked for only once the program has had time to fail.
#   xvfb-run-starts.sh <tocklet> [STARTS]
set -uo pipefail
source "$(dirname "$0")/lib.sh"

# One start, run inside xvfb-run.
if [ "${1:-}" = --one ]; then
    e2e_init
    cd "$E2E_TMP" || e2e_fail "no working directory"
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    # Busy cores alone seldom delay the server enough here; at the lowest priority it answers
    # late, as on a loaded desktop, and a start that races it fails in most tries.
    renice -n 19 -p "$(pgrep -P "$PPID" -x Xvfb)" >/dev/null || e2e_fail "no Xvfb to slow down"
    e2e_busy_resume
    e2e_start "$2"
    sleep 1.5
    e2e_busy_pause
    if ! e2e_running; then
        e2e_wait_exit 1
        e2e_fail "ended at start with status $E2E_STATUS"
    fi
    e2e_find_window Tocklet >/dev/null || e2e_fail "no window"
    e2e_terminate || e2e_fail "still runs 10 s after SIGTERM"
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after SIGTERM, not 0"
    exit 0
fi

tocklet=$(realpath "$1")
starts=${2:-20}
e2e_init
command -v xvfb-run >/dev/null || e2e_skip "xvfb-run is not installed"
e2e_busy_cores
e2e_busy_pause
failed=0
for ((start = 1; start <= starts; start++)); do
    if ! xvfb-run -a bash "$0" --one "$tocklet" 2>"$E2E_TMP/start.log"; then
        failed=$((failed + 1))
        e2e_log "start $start did not reach its window:"
        sed 's/^/    /' "$E2E_TMP/start.log" >&2
    fi
done
[ "$failed" -eq 0 ] || e2e_fail "$failed of $starts starts under xvfb-run -a did not reach the window"
e2e_log "$starts of $starts starts under xvfb-run -a reached the window and ended with status 0"
