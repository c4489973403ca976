#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Long play on the real program under Xvfb, driven by xdotool: games started from the title
# screen and stopped by Escape or a close request, swings made by press, drag and release at
# random places, the About box opened (F1 or the right-button menu) and closed in four ways
# during play and on the title screen, Escape and close requests in every state. The resident
# memory is sampled every 10 s; after the first minute it must grow by less than 5 %. Ends by the
# Exit button, which must end the program with status 0 and a valid "Setting.ini".
#   soak.sh <tocklet> <kept-lines> <report file>
# SOAK_SECONDS (600), SOAK_GAMES (200) and SOAK_SWINGS (2000) are the least it does; SOAK_SEED
# repeats a run.
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
tocklet=$(realpath "$1")
kept_lines=$(realpath "$2")
report=$(realpath "$3")
export E2E_PNG_PIXEL=${E2E_PNG_PIXEL:+$(realpath "$E2E_PNG_PIXEL")}
export E2E_CLOSE_REQUEST=${E2E_CLOSE_REQUEST:+$(realpath "$E2E_CLOSE_REQUEST")}

seconds=${SOAK_SECONDS:-600}
games=${SOAK_GAMES:-200}
swings=${SOAK_SWINGS:-2000}
seed=${SOAK_SEED:-$$}
RANDOM=$seed
SampleSeconds=10
SettleSeconds=60
GrowthLimitPercent=5

mkdir -p "${TMPDIR:-/tmp}"
e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to play in"
work="$E2E_TMP/work"
mkdir -p "$work" "$E2E_TMP/runtime"
chmod 700 "$E2E_TMP/runtime"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
cd "$work" || e2e_fail "no working directory"
# Keys are missing, so that the save at Exit writes.
printf '; soak\n[Score]\nScore1=12\nTime1=34.5  ;kept remark\n[Other]\nkeep=me\n' >Setting.ini
cp Setting.ini "$E2E_TMP/old.ini"

e2e_start "$tocklet"
pid=$E2E_PID
window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
sleep 0.5

# Samples "seconds kB" into rss.log until the program ends.
(
    begin=$SECONDS
    while rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null) && [ -n "$rss" ]; do
        echo "$((SECONDS - begin)) $rss" >>"$E2E_TMP/rss.log"
        sleep "$SampleSeconds"
    done
) &
sampler=$!

started=$SECONDS
declare -A done_count=()
count() {
    done_count[$1]=$((${done_count[$1]:-0} + 1))
}

alive() {
    e2e_running || e2e_fail "the program ended ($*)"
}

# expect_title / expect_play: the title panel shows, or the field covers it.
expect_state() {
    local want=$1 what=$2 pixel tries
    for tries in 1 2 3 4 5; do
        e2e_screenshot "$window" state.png || e2e_fail "no screenshot"
        pixel=$(e2e_pixel state.png 96 69) || e2e_fail "cannot read the screenshot"
        [ "$want" = title ] && [ "$pixel" = FFF0F0 ] && return 0
        [ "$want" = play ] && [ "$pixel" != FFF0F0 ] && return 0
        sleep 0.2
    done
    cp "$E2E_TMP/state.png" "$report.failed.png" 2>/dev/null
    e2e_fail "not the $want screen $what (pixel 96, 69 is $pixel)"
}

random_point() {
    echo $((5 + RANDOM % 440)) $((5 + RANDOM % 398))
}

# A point outside the Start and Exit buttons, where a release on the title screen does nothing.
safe_point() {
    echo $((10 + RANDOM % 130)) $((330 + RANDOM % 70))
}

swing() {
    local x1 y1 x2 y2 steps i
    read -r x1 y1 < <(random_point)
    read -r x2 y2 < <(random_point)
    steps=$((2 + RANDOM % 4))
    e2e_press "$window" "$x1" "$y1" || e2e_fail "cannot press"
    for ((i = 1; i <= steps; i++)); do
        e2e_move "$window" $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps)) || e2e_fail "cannot drag"
    done
    xdotool mouseup 1 || e2e_fail "cannot release"
    count swings
}

start_game() {
    e2e_click "$window" $((165 + RANDOM % 110)) $((206 + RANDOM % 32)) || e2e_fail "cannot click Start"
    expect_state play "after a click on Start"
    count games
}

# stop REQUEST: Escape or a close request, on the main window.
stop() {
    if [ "$1" = escape ]; then
        e2e_key "$window" Escape || e2e_fail "cannot type Escape"
    else
        e2e_close_request "$window" || e2e_fail "cannot send a close request"
    fi
}

about_window() {
    xdotool search --onlyvisible --name '^Tocklet.+' 2>/dev/null | head -n 1
}

# open_about: by F1 or by the right-button menu's one entry.
open_about() {
    local x y tries about=""
    if ((RANDOM % 2)); then
        e2e_key "$window" F1 || e2e_fail "cannot type F1"
    else
        read -r x y < <(safe_point)
        e2e_click "$window" "$x" "$y" 3 || e2e_fail "cannot click the right button"
        sleep 0.3
        e2e_click "$window" $((x + 20)) $((y + 10)) || e2e_fail "cannot choose the menu entry"
    fi
    for tries in $(seq 50); do
        about=$(about_window)
        [ -n "$about" ] && break
        sleep 0.1
    done
    [ -n "$about" ] || e2e_fail "the About box did not open"
    echo "$about"
}

# close_about WINDOW WAY: Escape, Return, the OK button or a close request.
close_about() {
    local about=$1 tries
    case $2 in
    escape) e2e_key "$about" Escape ;;
    return) e2e_key "$about" Return ;;
    ok) e2e_click "$about" 300 20 ;;
    close) e2e_close_request "$about" ;;
    esac
    for tries in $(seq 50); do
        [ -z "$(about_window)" ] && return 0
        sleep 0.1
    done
    e2e_fail "the About box did not close by $2"
}

about_ways=(escape return ok close)
stops=(escape close)

for ((game = 0; game < games || ${done_count[swings]:-0} < swings || SECONDS - started < seconds; game++)); do
    alive "before game $((game + 1))"
    # The title screen: hover, Escape and close requests only repaint it.
    e2e_move "$window" $((165 + RANDOM % 110)) $((275 + RANDOM % 30))
    stop "${stops[game % 2]}"
    count "title ${stops[game % 2]}"
    if ((game % 17 == 5)); then
        about=$(open_about)
        close_about "$about" "${about_ways[(game / 17) % 4]}"
        count "about on the title screen"
    fi
    expect_state title "on the title screen before game $((game + 1))"

    start_game
    per_game=$((swings / games + (game % 3 == 0 ? 1 : 0)))
    for ((s = 0; s < per_game; s++)); do
        swing
        if ((s == 2 && game % 3 == 1)); then
            # Escape or a close request while the button is held ends the game; the release then
            # lands on the title screen, away from its buttons.
            e2e_press "$window" 200 150 || e2e_fail "cannot press"
            e2e_move "$window" 230 190
            stop "${stops[(game / 3) % 2]}"
            count "drag ${stops[(game / 3) % 2]}"
            read -r x y < <(safe_point)
            e2e_release "$window" "$x" "$y" || e2e_fail "cannot release"
            expect_state title "after stopping during a drag"
            start_game
        fi
        if ((s == 4 && game % 5 == 2)); then
            about=$(open_about)
            sleep 0.3
            alive "with the About box open during play"
            if ((game % 10 == 2)); then
                # A close request to the main window behind the modal box, and Escape at the box.
                e2e_close_request "$window"
                count "close request behind the About box"
            fi
            close_about "$about" "${about_ways[(game / 5) % 4]}"
            count "about during play"
            if ((game % 10 == 2)); then
                # Whichever way the blocked request went, Escape brings the title back.
                stop escape
                expect_state title "after a close request behind the About box"
                start_game
            else
                expect_state play "after the About box closed during play"
            fi
        fi
    done
    sleep 0.2
    stop "${stops[(game / 2) % 2]}"
    count "play ${stops[(game / 2) % 2]}"
    expect_state title "after stopping game $((game + 1))"

    # Paced, so that the least number of games takes at least the least number of seconds.
    while ((SECONDS < started + (game + 1) * seconds / games)); do
        sleep 0.5
    done
done
played=$((SECONDS - started))

alive "before Exit"
e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after Exit"
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after Exit"
wait "$sampler" 2>/dev/null
summary=$("$kept_lines" "$E2E_TMP/old.ini" Setting.ini) || e2e_fail "Setting.ini is not valid: $summary"
grep -q '^Score1=12$' Setting.ini && grep -q '^Time1=34.5  ;kept remark$' Setting.ini && grep -q '^PlayNum=1$' Setting.ini ||
    e2e_fail "Setting.ini does not hold the values read at start: $(cat Setting.ini)"

{
    echo "soak: $played s of play, seed $seed"
    for key in "${!done_count[@]}"; do echo "  $key: ${done_count[$key]}"; done | sort
    echo "resident memory (s kB):"
    sed 's/^/  /' "$E2E_TMP/rss.log"
} >"$report"

# After the first minute: the first sample at or after it is the base, no later one may exceed
# it by the limit.
verdict=$(awk -v settle="$SettleSeconds" -v limit="$GrowthLimitPercent" '
    $1 >= settle && base == "" { base = $2; baseAt = $1 }
    base != "" && $2 > peak { peak = $2; peakAt = $1 }
    { last = $2 }
    END {
        if (base == "") { print "FAIL no sample after the first minute"; exit }
        growth = 100 * (peak - base) / base
        printf "%s base %d kB at %d s, peak %d kB at %d s, last %d kB: growth %.2f %% (limit %d %%)\n",
            growth < limit ? "PASS" : "FAIL", base, baseAt, peak, peakAt, last, growth, limit
    }' "$E2E_TMP/rss.log")
echo "$verdict" >>"$report"
cat "$report" >&2
[ "${verdict%% *}" = PASS ] || e2e_fail "resident memory: ${verdict#FAIL }"
((${done_count[games]:-0} >= games)) || e2e_fail "only ${done_count[games]:-0} games"
((${done_count[swings]:-0} >= swings)) || e2e_fail "only ${done_count[swings]:-0} swings"
((played >= seconds)) || e2e_fail "only $played s of play"
e2e_log "Exit ended the program with status 0; Setting.ini valid (${summary#kept-lines: })"
