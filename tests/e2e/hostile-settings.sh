#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The real program started on a hostile "Setting.ini": it shows the title screen (how soon is
# logged; bench/ measures it), ends within 10 s of a click on Exit with status 0, and writes
# back a file in which every line that is not one of the score table's comes through unchanged.
#   hostile-settings.sh <kind> <tocklet> <kept-lines>
# Kinds: binary-junk, long-line, nul-bytes, utf-16, many-sections, cr-only.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
kind=$1
tocklet=$(realpath "$2")
kept_lines=$(realpath "$3")
export E2E_PNG_PIXEL=${E2E_PNG_PIXEL:+$(realpath "$E2E_PNG_PIXEL")}

ExitLimitMs=10000

e2e_init
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"
work="$E2E_TMP/work"
mkdir -p "$work" "$E2E_TMP/runtime"
chmod 700 "$E2E_TMP/runtime"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
cd "$work" || e2e_fail "no working directory"

make_file() {
    case "$kind" in
    binary-junk)
        # 1 MiB of bytes from a fixed seed: control characters, CR and LF at random, high bytes.
        perl -e 'srand(8); print map { chr(int(rand(256))) } 1 .. 1048576'
        ;;
    long-line)
        # 50 MB in one line without an ending: a section header that never closes, holding '='.
        printf '['
        head -c 25000000 /dev/zero | tr '\0' 'x'
        printf '='
        head -c 25000000 /dev/zero | tr '\0' 'y'
        ;;
    nul-bytes)
        printf '[Score]\0\nScore1=5\0junk\nTime1=\0;remark\n\0\0\0\n[Da\0ta]\nkey\0=1\n[Data]\nPlayNum=3\n'
        head -c 4096 /dev/zero
        printf '\n; after the zeros\n'
        ;;
    utf-16)
        printf '; 設定\r\n[Score]\r\nScore1=42\r\nTime1=9.5  ;ベスト\r\n[Data]\r\nPlayNum=3\r\n' |
            iconv -f UTF-8 -t UTF-16
        ;;
    many-sections)
        awk 'BEGIN {
            for (i = 0; i < 100000; i++) {
                printf "[Section%d]\nkey=value %d\n", i, i
                if (i == 50000) printf "[Score]\nScore1=3\nTime1=7.25  ;kept\n"
            }
        }'
        ;;
    cr-only)
        printf '; made on an old Mac\r[Score]\rScore1=3\rTime1=4.5  ;remark\r[Other]\rx=y\r[Data]\rRegist=1'
        ;;
    *)
        e2e_fail "unknown kind $kind"
        ;;
    esac
}

make_file >Setting.ini || e2e_fail "cannot make the $kind file"
cp Setting.ini "$E2E_TMP/old.ini"

now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

started=$(now_ms)
e2e_start "$tocklet"
window=""
shown=""
while [ $(($(now_ms) - started)) -lt 15000 ]; do
    e2e_running || e2e_fail "the program ended at start"
    if [ -z "$window" ]; then
        window=$(xdotool search --onlyvisible --name '^Tocklet$' 2>/dev/null | head -n 1)
    elif e2e_screenshot "$window" title.png 2>/dev/null && [ "$(e2e_pixel title.png 96 69)" = FFF0F0 ]; then
        shown=$(($(now_ms) - started))
        break
    fi
    sleep 0.02
done
[ -n "$window" ] || e2e_fail "no window within 15 s"
[ -n "$shown" ] || e2e_fail "no title screen within 15 s"
e2e_expect_pixel title.png 10 10 000000 "the black field"
e2e_expect_pixel title.png 159 201 FAFAFA "the Start button's frame"
e2e_expect_pixel title.png 281 280 FAFAFA "the Exit button's right frame"

clicked=$(now_ms)
e2e_click "$window" 220 290 || e2e_fail "cannot click Exit"
while e2e_running && [ $(($(now_ms) - clicked)) -lt 30000 ]; do
    sleep 0.05
done
e2e_wait_exit 1 || e2e_fail "the program still runs 30 s after Exit"
ended=$(($(now_ms) - clicked))
[ "$E2E_STATUS" -eq 0 ] || e2e_fail "exit status $E2E_STATUS after Exit"
[ "$ended" -le "$ExitLimitMs" ] || e2e_fail "the program took $ended ms to end after Exit, more than $ExitLimitMs"
[ ! -s "$E2E_TMP/program.log" ] || e2e_fail "the program complained: $(head -c 400 "$E2E_TMP/program.log")"

summary=$("$kept_lines" "$E2E_TMP/old.ini" Setting.ini) || e2e_fail "$summary"
[ -z "$(find . -maxdepth 1 -name '.Setting.ini.tmp-*')" ] || e2e_fail "a temporary file stayed behind"
e2e_log "$kind ($(stat -c %s "$E2E_TMP/old.ini") bytes): title screen after $shown ms, ended $ended ms after Exit; ${summary#kept-lines: }"
