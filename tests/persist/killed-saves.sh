#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Saves of the score table killed with SIGKILL at random moments: after every kill
# "Setting.ini" is the file before the save or the file after it, byte for byte, and the next
# save removes the temporary files that the kills left. Then the same for a replay's file.
#   killed-saves.sh <score-table-save-loop> [kills]
set -uo pipefail
saver=$1
kills=${2:-150}
seed=${KILLED_SAVES_SEED:-$$}
RANDOM=$seed

fail() {
    echo "killed-saves: FAIL: $* (KILLED_SAVES_SEED=$seed)" >&2
    exit 1
}

dir=$(mktemp -d "${TMPDIR:-/tmp}/tocklet-killed-saves.XXXXXX")
trap 'rm -rf "$dir"' EXIT
work="$dir/work"
mkdir "$work"

# A large section between the two that the saves change, so that a save takes long enough to be
# caught half-way and every line of it has to come through whole.
{
    printf '[Score]\r\nScore1=3  ;first remark\r\n[Notes]\r\n'
    for ((i = 0; i < 40000; i++)); do printf 'note%d=kept line %d\r\n' "$i" "$i"; done
    printf '[Data]\r\nPlayNum=9\r\n'
} >"$work/Setting.ini"

"$saver" "$work" 1 1 || fail "the second table could not be saved"
cp "$work/Setting.ini" "$dir/second.ini"
"$saver" "$work" 0 1 || fail "the first table could not be saved"
cp "$work/Setting.ini" "$dir/first.ini"
cmp -s "$dir/first.ini" "$dir/second.ini" && fail "the two tables give the same file"

temporaries() {
    find "$work" -mindepth 1 -name '.Setting.ini.tmp-*' | wc -l
}

left=0
for ((k = 1; k <= kills; k++)); do
    "$saver" "$work" $((k % 2)) 0 &
    pid=$!
    sleep "0.$(printf '%03d' $((RANDOM % 120)))"
    kill -KILL "$pid" 2>/dev/null
    { wait "$pid"; } 2>/dev/null
    status=$?
    [ "$status" -eq 137 ] || fail "kill $k: the save loop ended with status $status before it was killed"
    if ! cmp -s "$work/Setting.ini" "$dir/first.ini" && ! cmp -s "$work/Setting.ini" "$dir/second.ini"; then
        fail "kill $k: Setting.ini is neither the old nor the new file: $(stat -c %s "$work/Setting.ini") bytes," \
            "$(grep -a -E '^(Score[1-5]|Time[1-5]|Regist|PlayNum)=' "$work/Setting.ini" | tr -d '\r' | paste -sd ' ')"
    fi
    n=$(temporaries)
    [ "$n" -gt "$left" ] && left=$n
done

"$saver" "$work" 0 1 || fail "a save after the kills failed"
[ "$(temporaries)" -eq 0 ] || fail "a save after the kills left temporary files: $(ls -A "$work")"
cmp -s "$work/Setting.ini" "$dir/first.ini" || fail "the save after the kills did not write the first table"
echo "killed-saves: $kills saves killed, each left the old or the new file; up to $left temporary files left by kills were removed by the next save (seed $seed)"

replay=Tocklet-replay-40-4.txt
"$saver" "$work" 1 1 replay || fail "the second replay could not be saved"
cp "$work/$replay" "$dir/second.txt"
"$saver" "$work" 0 1 replay || fail "the first replay could not be saved"
cp "$work/$replay" "$dir/first.txt"
for ((k = 1; k <= kills / 5; k++)); do
    "$saver" "$work" $((k % 2)) 0 replay &
    pid=$!
    sleep "0.$(printf '%03d' $((RANDOM % 120)))"
    kill -KILL "$pid" 2>/dev/null
    { wait "$pid"; } 2>/dev/null
    [ "$?" -eq 137 ] || fail "replay kill $k: the save loop ended before it was killed"
    cmp -s "$work/$replay" "$dir/first.txt" || cmp -s "$work/$replay" "$dir/second.txt" ||
        fail "replay kill $k: the replay is neither the old nor the new file: $(stat -c %s "$work/$replay") bytes"
done
echo "killed-saves: $((kills / 5)) replay saves killed, each left the old or the new replay"
