# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Helpers for end-to-end tests: the real program in a real X window under Xvfb, driven with
# xdotool and read back with screenshots. Source it from a bash script:
#
#   source "$E2E_LIB"
#   e2e_init                                   # temporary directory, cleanup on exit
#   e2e_start_xvfb || e2e_skip "Xvfb cannot start"
#   e2e_start "$TOCKLET"                        # E2E_PID, output in $E2E_TMP/program.log
#   window=$(e2e_find_window Tocklet)
#   e2e_click "$window" 220 222
#   e2e_screenshot "$window" shot.png           # the client area, so pixels are client coordinates
#   [ "$(e2e_pixel shot.png 10 10)" = 000000 ]
#   e2e_close_request "$window"
#   e2e_wait_exit 10 && [ "$E2E_STATUS" -eq 0 ]
#
# Tools come from the environment: E2E_CLOSE_REQUEST (x11-close-request) and E2E_PNG_PIXEL
# (png-pixel), both set by the test's CMake rules; xdotool, Xvfb and ImageMagick's import from PATH.
# Functions print failures on standard error and return non-zero; e2e_fail ends the test.

E2E_SKIP_CODE=77
E2E_TMP=""
E2E_XVFB_PID=""
E2E_PID=""
E2E_STATUS=""
E2E_BUSY_PIDS=()

e2e_log() {
    echo "e2e: $*" >&2
}

e2e_fail() {
    e2e_log "FAIL: $*"
    if [ -n "$E2E_TMP" ] && [ -s "$E2E_TMP/program.log" ]; then
        e2e_log "program output:"
        sed 's/^/    /' "$E2E_TMP/program.log" >&2
    fi
    exit 1
}

# Counted by ctest as skipped when the test has SKIP_RETURN_CODE 77.
e2e_skip() {
    e2e_log "SKIPPED: $*"
    exit "$E2E_SKIP_CODE"
}

e2e_cleanup() {
    local status=$?
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill -KILL "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
    fi
    if [ "${#E2E_BUSY_PIDS[@]}" -gt 0 ]; then
        kill -KILL "${E2E_BUSY_PIDS[@]}" 2>/dev/null
        wait "${E2E_BUSY_PIDS[@]}" 2>/dev/null
    fi
    if [ -n "$E2E_XVFB_PID" ] && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
        kill -TERM "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    if [ -n "$E2E_TMP" ] && [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_TMP"
    elif [ -n "$E2E_TMP" ]; then
        e2e_log "kept $E2E_TMP"
    fi
    return "$status"
}

# Makes E2E_TMP and removes it, the program and Xvfb when the script exits (E2E_KEEP=1 keeps
# the directory with its screenshots).
e2e_init() {
    # The program speaks the desktop's language; the tests read its own Japanese screens unless
    # they set LANG themselves.
    unset LANGUAGE LC_ALL LC_MESSAGES
    export LANG=C.UTF-8
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tocklet-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
}

# e2e_start_xvfb [resetting]: starts Xvfb on a display number the server picks itself (so that
# tests may run side by side) with a black root of 1024 × 768 × 24 and exports DISPLAY. Returns
# 1 when no server comes up. A "resetting" server resets whenever its last client leaves, as
# under xvfb-run, and drops a connection made just then; the others are started with -noreset.
e2e_start_xvfb() {
    command -v Xvfb >/dev/null || { e2e_log "Xvfb is not installed"; return 1; }
    local numberFile="$E2E_TMP/xvfb-display" noReset=-noreset
    [ "${1:-}" = resetting ] && noReset=""
    : >"$numberFile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -br -nolisten tcp $noReset \
        3>"$numberFile" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local tries
    for tries in $(seq 100); do
        if grep -q '^[0-9][0-9]*$' "$numberFile" 2>/dev/null; then
            export DISPLAY=":$(cat "$numberFile")"
            unset WAYLAND_DISPLAY
            export QT_QPA_PLATFORM=xcb
            return 0
        fi
        if ! kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
            e2e_log "Xvfb ended at start:"
            sed 's/^/    /' "$E2E_TMP/xvfb.log" >&2
            E2E_XVFB_PID=""
            return 1
        fi
        sleep 0.1
    done
    e2e_log "Xvfb did not announce a display within 10 s"
    return 1
}

# e2e_busy_cores: keeps every core busy until the script exits, so that races at start show.
# E2E_BUSY_LOOPS names them for the scripts it starts: e2e_busy_pause and e2e_busy_resume stop
# and continue them, so that the parts of a test that need no load run at full speed.
e2e_busy_cores() {
    for _ in $(seq "$(nproc)"); do
        yes >/dev/null &
        E2E_BUSY_PIDS+=("$!")
    done
    export E2E_BUSY_LOOPS="${E2E_BUSY_PIDS[*]}"
}

e2e_busy_pause() {
    # shellcheck disable=SC2086 # a list of process ids
    kill -STOP ${E2E_BUSY_LOOPS:-} 2>/dev/null
}

e2e_busy_resume() {
    # shellcheck disable=SC2086 # a list of process ids
    kill -CONT ${E2E_BUSY_LOOPS:-} 2>/dev/null
}

# e2e_start PROGRAM [ARG...]: starts it in the background on the Xvfb display; E2E_PID.
e2e_start() {
    "$@" >"$E2E_TMP/program.log" 2>&1 &
    E2E_PID=$!
    E2E_STATUS=""
}

# e2e_find_window TITLE [SECONDS]: prints the id of the visible window whose title is exactly
# TITLE, waiting for it up to SECONDS (10).
e2e_find_window() {
    local title=$1 seconds=${2:-10}
    local pattern
    pattern="^$(printf '%s' "$title" | sed 's/[][\.*^$+?(){}|]/\\&/g')\$"
    local ids
    ids=$(timeout "$seconds" xdotool search --sync --onlyvisible --name "$pattern" 2>/dev/null) || {
        e2e_log "no window titled \"$title\" within $seconds s"
        return 1
    }
    head -n 1 <<<"$ids"
}

# e2e_window_geometry WINDOW: prints "X Y WIDTH HEIGHT" of the window on the screen.
e2e_window_geometry() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")" || return 1
    echo "$X $Y $WIDTH $HEIGHT"
}

# e2e_move WINDOW X Y: the pointer to client coordinates of the window. xdotool's --sync waits
# (about 15 s) for a motion that never comes when the pointer is there already.
e2e_move() {
    local X Y WIDTH HEIGHT SCREEN WINDOW targetX targetY
    eval "$(xdotool getwindowgeometry --shell "$1")" || return 1
    targetX=$((X + $2)) targetY=$((Y + $3))
    eval "$(xdotool getmouselocation --shell)" || return 1
    [ "$X" -eq "$targetX" ] && [ "$Y" -eq "$targetY" ] && return 0
    xdotool mousemove --sync --window "$1" "$2" "$3"
}

# e2e_click WINDOW X Y [BUTTON]
e2e_click() {
    e2e_move "$1" "$2" "$3" && xdotool click "${4:-1}"
}

# e2e_press WINDOW X Y [BUTTON] and e2e_release WINDOW X Y [BUTTON]: the halves of a click.
e2e_press() {
    e2e_move "$1" "$2" "$3" && xdotool mousedown "${4:-1}"
}

e2e_release() {
    e2e_move "$1" "$2" "$3" && xdotool mouseup "${4:-1}"
}

# e2e_drag WINDOW X1 Y1 X2 Y2 [STEPS]: press at the first point, move there in STEPS (8) steps,
# release at the second.
e2e_drag() {
    local window=$1 x1=$2 y1=$3 x2=$4 y2=$5 steps=${6:-8} i
    e2e_press "$window" "$x1" "$y1" || return 1
    for ((i = 1; i <= steps; i++)); do
        e2e_move "$window" $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps)) || return 1
        sleep 0.02
    done
    xdotool mouseup 1
}

# e2e_key WINDOW KEY...: gives the window the keyboard focus and types the keys (xdotool names:
# Escape, Return, F1, space).
e2e_key() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" && xdotool key --clearmodifiers "$@"
}

# e2e_screenshot WINDOW|root FILE: a PNG of the window's client area (so its pixels are client
# coordinates) or of the whole screen. A relative FILE is put in E2E_TMP.
e2e_screenshot() {
    local file=$2
    [[ $file == /* ]] || file="$E2E_TMP/$file"
    import -window "$1" "png:$file" 2>"$E2E_TMP/import.log" || {
        e2e_log "screenshot of $1 failed: $(cat "$E2E_TMP/import.log")"
        return 1
    }
}

# e2e_pixel FILE X Y: prints the pixel's colour as RRGGBB.
e2e_pixel() {
    local file=$1
    [[ $file == /* ]] || file="$E2E_TMP/$file"
    "${E2E_PNG_PIXEL:?E2E_PNG_PIXEL names the png-pixel tool}" "$file" "$2" "$3"
}

# e2e_expect_pixel FILE X Y RRGGBB [WHAT]: fails the test when the colour differs.
e2e_expect_pixel() {
    local actual
    actual=$(e2e_pixel "$1" "$2" "$3") || e2e_fail "cannot read pixel $2, $3 of $1"
    [ "${actual^^}" = "${4^^}" ] || e2e_fail "${5:-pixel} at $2, $3 of $1 is $actual, not $4"
}

# e2e_wait_pixel WINDOW FILE X Y RRGGBB [SECONDS]: screenshots the window into FILE until the
# pixel has that colour, up to SECONDS (30); returns 1 when it never has.
e2e_wait_pixel() {
    local tries
    for ((tries = 0; tries < ${6:-30} * 10; tries++)); do
        e2e_screenshot "$1" "$2" || return 1
        [ "$(e2e_pixel "$2" "$3" "$4")" = "$5" ] && return 0
        sleep 0.1
    done
    return 1
}

# e2e_differing_pixels FILE FILE [WxH+X+Y]: how many pixels of the two images differ, over the
# whole image or the region alone.
e2e_differing_pixels() {
    local a=$1 b=$2 extract=()
    [[ $a == /* ]] || a="$E2E_TMP/$a"
    [[ $b == /* ]] || b="$E2E_TMP/$b"
    [ -n "${3:-}" ] && extract=(-extract "$3")
    compare -metric AE "${extract[@]}" "$a" "$b" null: 2>&1 | cut -d' ' -f1
}

# e2e_expect_same FILE FILE WHAT [WxH+X+Y]: fails the test unless the images are equal there.
e2e_expect_same() {
    local changed
    changed=$(e2e_differing_pixels "$1" "$2" "${4:-}")
    [ "$changed" = 0 ] || e2e_fail "$3 ($changed pixels differ)"
}

# e2e_expect_changed FILE FILE MORE_THAN WHAT [WxH+X+Y]: fails the test unless more pixels than
# MORE_THAN differ there.
e2e_expect_changed() {
    local changed
    changed=$(e2e_differing_pixels "$1" "$2" "${5:-}")
    [ "${changed%.*}" -gt "$3" ] 2>/dev/null || e2e_fail "$4 ($changed pixels changed)"
}

# e2e_close_request WINDOW: what a window manager's close box sends.
e2e_close_request() {
    "${E2E_CLOSE_REQUEST:?E2E_CLOSE_REQUEST names the x11-close-request tool}" "$1"
}

# e2e_wait_exit [SECONDS]: waits up to SECONDS (10) for the program to end; its exit status is
# then in E2E_STATUS (128 + the signal number when a signal ended it). Returns 1 while it runs.
e2e_wait_exit() {
    local seconds=${1:-10} ticks
    for ((ticks = 0; ticks < seconds * 10; ticks++)); do
        if ! kill -0 "$E2E_PID" 2>/dev/null; then
            E2E_STATUS=0
            wait "$E2E_PID" || E2E_STATUS=$?
            E2E_PID=""
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# e2e_wait_for SECONDS COMMAND [ARG...]: runs the command every 0.1 s until it succeeds, up to
# SECONDS; returns 1 when it never does.
e2e_wait_for() {
    local seconds=$1 ticks
    shift
    for ((ticks = 0; ticks < seconds * 10; ticks++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# e2e_now_ms: milliseconds of the clock, for measuring how long the program took.
e2e_now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# e2e_running: the program has not ended.
e2e_running() {
    [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null
}

# e2e_terminate [SECONDS]: SIGTERM, then waits as e2e_wait_exit does.
e2e_terminate() {
    kill -TERM "$E2E_PID" 2>/dev/null
    e2e_wait_exit "${1:-10}"
}
