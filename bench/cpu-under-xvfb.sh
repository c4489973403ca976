#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# CPU use of the real program in a real X window under Xvfb, each over a fixed period:
#   1. the title screen, left alone;
#   2. a game with no swings;
#   3. the same game after the player has hung many swings, made with xdotool as a mouse would.
# The figure is the process's user + system time (all its threads) over the period, from
# /proc/<pid>/stat, as a share of one core; Xvfb's own share is printed next to it.
#
#   bench/cpu-under-xvfb.sh [tocklet] [seconds] [swings]
#   defaults: build/app/tocklet, 10 s, 1000 swings. Not part of ./run.sh test.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/lib.sh"
tocklet=$(realpath "${1:-$here/../build/app/tocklet}")
seconds=${2:-10}
swings=${3:-1000}
ticksPerSecond=$(getconf CLK_TCK)

# cpu_ticks PID: user + system clock ticks so far. The command name may hold spaces, so the
# fields are counted from the closing parenthesis.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat") || return 1
    stat=${stat##*) }
    # After the name: state is field 3, utime 14 and stime 15 of the whole line.
    awk '{ print $12 + $13 }' <<<"$stat"
}

# measure LABEL: prints the program's and Xvfb's share of one core over the period.
measure() {
    local label=$1 before xBefore after xAfter start end
    before=$(cpu_ticks "$E2E_PID") || e2e_fail "the program is gone"
    xBefore=$(cpu_ticks "$E2E_XVFB_PID")
    start=$(date +%s.%N)
    sleep "$seconds"
    after=$(cpu_ticks "$E2E_PID") || e2e_fail "the program is gone"
    xAfter=$(cpu_ticks "$E2E_XVFB_PID")
    end=$(date +%s.%N)
    awk -v l="$label" -v p=$((after - before)) -v x=$((xAfter - xBefore)) -v t="$ticksPerSecond" \
        -v s="$start" -v e="$end" -v load="$(cut -d' ' -f1 /proc/loadavg)" \
        'BEGIN { d = e - s; printf "%-32s %6.1f %% of one core   (Xvfb %5.1f %%)   over %.1f s, load %s\n",
                 l, 100 * p / t / d, 100 * x / t / d, d, load }'
}

# hang_swings WINDOW COUNT: press, drag and release COUNT times, anchors spread over the upper
# half of the field and weights 20 to 140 pixels below them, as in the benchmark's scene. One
# xdotool run does fifty gestures.
hang_swings() {
    local window=$1 count=$2 seed=12345 i ax ay wx wy args=()
    # The generator steps in this shell: a $( ) would lose its state.
    next() {
        seed=$(((seed * 1103515245 + 12345) & 0xFFFFFFFF))
        drawn=$(((seed >> 8) % $1))
    }
    for ((i = 0; i < count; i++)); do
        next 409; ax=$((20 + drawn))
        next 200; ay=$((10 + drawn))
        next 160; wx=$((ax - 80 + drawn))
        next 120; wy=$((ay + 20 + drawn))
        ((wx < 1)) && wx=1
        ((wx > 447)) && wx=447
        ((wy > 405)) && wy=405
        args+=(mousemove --window "$window" "$ax" "$ay" mousedown 1
               mousemove --window "$window" $(((ax + wx) / 2)) $(((ay + wy) / 2))
               mousemove --window "$window" "$wx" "$wy" mouseup 1)
        if (((i + 1) % 50 == 0 || i + 1 == count)); then
            xdotool "${args[@]}" || return 1
            args=()
        fi
    done
}

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start"
mkdir -p "$E2E_TMP/work" && cd "$E2E_TMP/work" || exit 1
e2e_start "$tocklet"
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
# Away from the buttons, so that no hover changes the title screen.
e2e_move "$window" 20 380 || e2e_fail "cannot move the pointer"
sleep 1

echo "tocklet $(basename "$tocklet"), $(nproc) cores, ${seconds} s each, $(date -u +%Y-%m-%dT%H:%MZ)"
measure "title screen, idle"

e2e_click "$window" 220 222 || e2e_fail "cannot click Start"
e2e_move "$window" 20 380
sleep 1
measure "playing, 0 swings"

made=$(date +%s)
hang_swings "$window" "$swings" || e2e_fail "xdotool could not make the swings"
made=$(($(date +%s) - made))
e2e_screenshot "$window" swings.png || e2e_fail "no screenshot"
sleep 1
measure "playing, $swings swings"
echo "(the $swings swings took ${made} s to make)"
[ -n "${E2E_KEEP:-}" ] && echo "(what they looked like: $E2E_TMP/swings.png)"

e2e_key "$window" Escape
e2e_click "$window" 220 290
e2e_wait_exit 10 || e2e_terminate 5
