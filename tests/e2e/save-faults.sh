#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Faults at save on the real program: the game runs, the fault strikes, Exit saves. The program
# must end normally, say in one line on standard error that the save failed, and leave
# "Setting.ini" exactly as it was, with no temporary file beside it. With the folder's lock held
# by another (a copy stopped in the middle of its save), Exit waits for it once, at most 30 s,
# and a signal at most 5 s.
#   save-faults.sh <case> <tocklet> [score-table-save-loop]
# Cases: read-only-directory, directory-in-place, disk-full, killed-saves, lock-held-at-exit,
# lock-freed-at-exit, lock-held-at-signals.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
case_name=$1
tocklet=$(realpath "$2")
saver=${3:+$(realpath "$3")}

run_as=()
disk=""
holder=""

fault_cleanup() {
    local status=$?
    if e2e_running; then
        kill -KILL "$E2E_PID" 2>/dev/null
        wait "$E2E_PID" 2>/dev/null
        E2E_PID=""
    fi
    [ -n "$holder" ] && kill "$holder" 2>/dev/null
    cd / || true
    [ -n "$disk" ] && umount "$disk" 2>/dev/null
    (exit "$status")
    e2e_cleanup
}

e2e_init
trap fault_cleanup EXIT
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"
chmod 755 "$E2E_TMP"
work="$E2E_TMP/work"
mkdir -p "$work" "$E2E_TMP/home"
# A private runtime directory and home keep Qt and fontconfig quiet, so that standard error
# holds only what the program says.
export HOME="$E2E_TMP/home"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Keys are missing, so that the save at Exit has something to write.
old_text=$'; hand-written\r\n[Score]\r\nScore1=7\r\nTime1=12.5  ;best run\r\n[Notes]\r\nkeep=me\r\n'

start_program() {
    e2e_start "${run_as[@]}" "$tocklet"
    window=$(e2e_find_window Tocklet) || e2e_fail "the window did not appear"
    e2e_wait_pixel "$window" title.png 96 69 FFF0F0 10 || e2e_fail "no title 10 s after the window appeared"
}

start_game() {
    start_game_loop
    e2e_drag "$window" 100 60 160 150 || e2e_fail "cannot drag a swing"
    e2e_drag "$window" 300 80 250 200 || e2e_fail "cannot drag a swing"
}

stop_game_and_exit() {
    e2e_key "$window" Escape || e2e_fail "cannot type Escape"
    if ! e2e_wait_pixel "$window" title.png 96 69 FFF0F0 10; then
        e2e_running || e2e_fail "the program ended during play (status $(wait "$E2E_PID"; echo $?))"
        e2e_fail "no title 10 s after Escape"
    fi
    e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
    e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after Exit"
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after Exit"
}

# expect_one_error_line PATTERN: standard error is one line naming the file, saying it was not
# saved, and matching PATTERN.
expect_one_error_line() {
    local lines
    lines=$(wc -l <"$E2E_TMP/program.log")
    [ "$lines" -eq 1 ] || e2e_fail "standard error holds $lines lines, not one"
    grep -q "^tocklet: $work/Setting.ini: not saved: .*$1" "$E2E_TMP/program.log" ||
        e2e_fail "the error line does not name the file and \"$1\": $(cat "$E2E_TMP/program.log")"
}

expect_no_error() {
    [ ! -s "$E2E_TMP/program.log" ] || e2e_fail "a save that should work said: $(cat "$E2E_TMP/program.log")"
}

expect_no_temporaries() {
    local left
    left=$(find "$work" -maxdepth 1 -name '.Setting.ini.tmp-*' | head -n 3)
    [ -z "$left" ] || e2e_fail "temporary files stayed behind: $left"
}

# hold_lock: takes the lock on the working folder, as a copy stopped in the middle of its save
# holds it, until release_lock.
hold_lock() {
    (exec 9<"$work" && flock -x 9 && : >"$E2E_TMP/locked" && exec sleep 600) &
    holder=$!
    e2e_wait_for 10 test -e "$E2E_TMP/locked" || e2e_fail "cannot take the lock on $work"
}

release_lock() {
    kill "$holder" 2>/dev/null
    wait "$holder" 2>/dev/null
    holder=""
}

window_gone() {
    ! xdotool search --onlyvisible --name '^Tocklet$' >/dev/null 2>&1
}

# game_runs: the play scene shows the time, which only the game loop writes: a swing made before
# the loop starts would be reset with the world.
game_runs() {
    e2e_screenshot "$window" play.png || return 1
    [ "$(convert "$E2E_TMP/play.png" -crop 322x20+8+6 -fill black +opaque '#FAFAFA' -fill white \
        -opaque '#FAFAFA' -format '%[fx:round(mean*w*h)]' info:)" -gt 10 ]
}

start_game_loop() {
    e2e_click "$window" 220 222 || e2e_fail "cannot click Start"
    e2e_wait_for 10 game_runs || e2e_fail "no game time 10 s after Start"
}

# lose_game: a game whose one weight, hung level with its anchor on the bottom edge, drops off
# the field for good; played until the title is back.
lose_game() {
    start_game_loop
    e2e_drag "$window" 200 400 260 400 || e2e_fail "cannot hang the weight"
    e2e_wait_pixel "$window" lost.png 96 69 FFF0F0 40 || e2e_fail "no title 40 s after the weight fell"
}

# expect_end_within SIGNAL|Exit SECONDS: asks the program to end and fails unless it ends with
# status 0 within SECONDS, counted from the click or the signal; took_ms says how long it took.
expect_end_within() {
    local started
    if [ "$1" = Exit ]; then
        e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
        started=$(e2e_now_ms)
    else
        started=$(e2e_now_ms)
        kill -"$1" "$E2E_PID" || e2e_fail "cannot send SIG$1"
    fi
    e2e_wait_exit 70 || e2e_fail "the program still runs 70 s after $1"
    took_ms=$(($(e2e_now_ms) - started))
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after $1"
    [ "$took_ms" -le $(($2 * 1000)) ] || e2e_fail "the program took $took_ms ms to end after $1, more than $2 s"
}

put_old_file() {
    printf '%s' "$old_text" >"$work/Setting.ini"
    cp "$work/Setting.ini" "$E2E_TMP/old.ini"
}

expect_old_file() {
    cmp -s "$work/Setting.ini" "$E2E_TMP/old.ini" || e2e_fail "Setting.ini changed: $(cat -A "$work/Setting.ini" | head -c 600)"
}

case "$case_name" in
read-only-directory)
    # Root writes through permission bits, so the program runs as an ordinary user.
    if [ "$(id -u)" -eq 0 ]; then
        command -v setpriv >/dev/null || e2e_skip "running as root without setpriv: cannot run the program as an ordinary user"
        run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
        "${run_as[@]}" test -x "$tocklet" ||
            e2e_skip "the user nobody cannot run $tocklet (a directory on its path is closed to others)"
        chown nobody:nogroup "$work" "$HOME" "$XDG_RUNTIME_DIR"
    fi
    put_old_file
    [ "$(id -u)" -eq 0 ] && chown nobody:nogroup "$work/Setting.ini"
    cd "$work" || e2e_fail "no working directory"
    start_program
    start_game
    chmod 555 "$work"
    stop_game_and_exit
    expect_one_error_line "Permission denied"
    expect_old_file
    expect_no_temporaries
    chmod 755 "$work"
    e2e_log "read-only working directory: the save failed in one line, the file is as it was"
    ;;
directory-in-place)
    put_old_file
    cd "$work" || e2e_fail "no working directory"
    start_program
    start_game
    rm "$work/Setting.ini"
    mkdir "$work/Setting.ini"
    echo "mine" >"$work/Setting.ini/inside"
    stop_game_and_exit
    expect_one_error_line "directory"
    [ -d "$work/Setting.ini" ] && [ "$(ls -A "$work/Setting.ini")" = inside ] &&
        [ "$(cat "$work/Setting.ini/inside")" = mine ] || e2e_fail "the directory in place of Setting.ini was changed"
    expect_no_temporaries
    e2e_log "a directory in place of Setting.ini: the save failed in one line and left it alone"
    ;;
disk-full)
    [ "$(id -u)" -eq 0 ] || e2e_skip "only root may mount the small file system that stands for a full disk"
    mount -t tmpfs -o size=256k,mode=0755 tocklet-full-disk "$work" 2>"$E2E_TMP/mount.log" ||
        e2e_skip "a small tmpfs cannot be mounted here, so a full disk cannot be shown: $(cat "$E2E_TMP/mount.log")"
    disk=$work
    put_old_file
    cd "$work" || e2e_fail "no working directory"
    start_program
    start_game
    dd if=/dev/zero of="$work/filler" bs=4096 >/dev/null 2>&1
    [ "$(df --output=avail "$work" | tail -n 1)" -eq 0 ] || e2e_fail "the disk did not fill up"
    stop_game_and_exit
    expect_one_error_line "No space left on device"
    expect_old_file
    expect_no_temporaries

    # A game lost on the full disk is kept, and saved by Exit once there is room again.
    start_program
    lose_game
    # The keeper says so once its save failed, a moment after the title is back.
    e2e_wait_for 10 grep -q "kept to be saved again" "$E2E_TMP/program.log"
    kept=$(sed -n 's/.*not saved: .*No space left on device; kept to be saved again: \([0-9.]*\) s$/\1/p' \
        "$E2E_TMP/program.log")
    [ -n "$kept" ] || e2e_fail "the failed save after the game did not say it kept the time: $(cat "$E2E_TMP/program.log")"
    rm "$work/filler"
    e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
    e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after Exit"
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after Exit"
    [ "$(wc -l <"$E2E_TMP/program.log")" -eq 1 ] || e2e_fail "Exit said more: $(cat "$E2E_TMP/program.log")"
    # Values, not texts: the line says 11.0 s where the file holds 11, and a remark may follow.
    sed -n 's/^Time[12]=\([0-9.]*\).*/\1/p' "$work/Setting.ini" |
        awk -v kept="$kept" '$1 + 0 == kept + 0 { found = 1 } END { exit !found }' &&
        grep -q $'^keep=me\r$' "$work/Setting.ini" ||
        e2e_fail "the kept time $kept s is not in the file: $(cat -A "$work/Setting.ini")"
    expect_no_temporaries
    e2e_log "full disk: the save failed in one line and kept the file; a game lost then ($kept s) was saved by Exit"
    ;;
killed-saves)
    [ -n "$saver" ] || e2e_fail "killed-saves needs the score-table-save-loop program"
    # A large file, so that a save is often caught while its temporary file is being written.
    {
        printf '%s' "$old_text"
        for ((i = 0; i < 40000; i++)); do printf 'note%d=kept line %d\r\n' "$i" "$i"; done
    } >"$work/Setting.ini"
    "$saver" "$work" 0 1 || e2e_fail "the save loop cannot save"
    cp "$work/Setting.ini" "$E2E_TMP/first.ini"
    "$saver" "$work" 1 1 || e2e_fail "the save loop cannot save"
    cp "$work/Setting.ini" "$E2E_TMP/second.ini"
    left=""
    for ((kills = 1; kills <= 300; kills++)); do
        "$saver" "$work" $((kills % 2)) 0 &
        pid=$!
        sleep "0.$(printf '%03d' $((RANDOM % 150)))"
        kill -KILL "$pid" 2>/dev/null
        { wait "$pid"; } 2>/dev/null
        cmp -s "$work/Setting.ini" "$E2E_TMP/first.ini" || cmp -s "$work/Setting.ini" "$E2E_TMP/second.ini" ||
            e2e_fail "a killed save left Setting.ini neither old nor new"
        left=$(find "$work" -maxdepth 1 -name '.Setting.ini.tmp-*' | head -n 1)
        [ -n "$left" ] && break
    done
    [ -n "$left" ] || e2e_fail "300 kills left no temporary file, so its removal cannot be shown"
    cp "$work/Setting.ini" "$E2E_TMP/old.ini"
    cd "$work" || e2e_fail "no working directory"
    start_program
    expect_no_temporaries
    start_game
    stop_game_and_exit
    expect_no_error
    expect_old_file
    expect_no_temporaries
    e2e_log "after $kills killed saves the file was whole each time; the program's start removed $(basename "$left")"
    ;;
lock-held-at-exit)
    # The save after the game waits for the lock; Exit waits once more, 30 s in all at most,
    # writes nothing and names the game lost. A margin of 8 s for the end on a loaded machine:
    # waiting twice took twice as long.
    put_old_file
    cd "$work" || e2e_fail "no working directory"
    hold_lock
    start_program
    lose_game
    expect_end_within Exit 38
    expect_one_error_line "the lock on its folder stayed taken; lost: [0-9.]* s"
    expect_old_file
    expect_no_temporaries
    e2e_log "lock held: Exit ended the program after $took_ms ms, wrote nothing and said: $(cat "$E2E_TMP/program.log")"
    ;;
lock-freed-at-exit)
    # Exit waits for the lock, and saves once it comes.
    put_old_file
    cd "$work" || e2e_fail "no working directory"
    hold_lock
    start_program
    lose_game
    e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
    e2e_wait_for 10 window_gone || e2e_fail "the window stayed 10 s after Exit"
    e2e_running || e2e_fail "the program did not wait for the lock at Exit"
    release_lock
    e2e_wait_exit 10 || e2e_fail "the program still runs 10 s after the lock went"
    [ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after Exit"
    expect_no_error
    [ "$(grep -c '^Time[1-5]=[1-9]' "$work/Setting.ini")" -eq 2 ] &&
        grep -q $'^keep=me\r$' "$work/Setting.ini" ||
        e2e_fail "the game is not beside the old time in the file: $(cat -A "$work/Setting.ini")"
    expect_no_temporaries
    e2e_log "Exit waited for the lock and saved the game once it came"
    ;;
lock-held-at-signals)
    # SIGTERM during a game, a lost game still waiting for the lock: 5 s at most, as a session
    # that ends does not wait longer. Then SIGTERM while Exit waits cuts that wait to 5 s. The
    # same margin of 8 s as for Exit.
    put_old_file
    cd "$work" || e2e_fail "no working directory"
    hold_lock
    start_program
    lose_game
    start_game_loop
    expect_end_within TERM 13
    expect_one_error_line "the lock on its folder stayed taken; lost: [0-9.]* s"
    expect_old_file
    in_game=$took_ms

    start_program
    e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
    e2e_wait_for 10 window_gone || e2e_fail "the window stayed 10 s after Exit"
    expect_end_within TERM 13
    expect_one_error_line "the lock on its folder stayed taken$"
    expect_old_file
    expect_no_temporaries
    e2e_log "lock held: SIGTERM during a game ended the program after $in_game ms, during Exit's wait after $took_ms ms; nothing written"
    ;;
*)
    e2e_fail "unknown case $case_name"
    ;;
esac
