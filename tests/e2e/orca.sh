#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# The game played with the keys alone while Orca reads it, in Japanese and in English: Orca
# speaks through speech-dispatcher into a capture module that writes each text it is given to a
# file, and the test waits for what a player must hear: the title's focus and status, a row of
# the records and Where Am I on it, the hint (short enough: at most 6 s as espeak-ng speaks
# it), the pause, the field's state on Where Am I, and GameOver!! with the time that
# Setting.ini then holds. The words of each key of the gesture are not waited for: Orca stops
# speech at every key it sees, and under load it may see a key after the program's answer. Everything runs on its own: Xvfb, openbox (Orca follows the active
# window through it), a session bus, the accessibility bus, a sound server for the speech
# module, and folders of its own for every setting.
#   orca.sh <tocklet>
set -uo pipefail
if [ -z "${E2E_SESSION_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "e2e: SKIPPED: no dbus-run-session" >&2; exit 77; }
    E2E_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
tocklet=$(realpath "$1")

e2e_init
for tool in orca speech-dispatcher openbox pulseaudio pactl espeak-ng soxi kakasi; do
    command -v "$tool" >/dev/null || e2e_skip "$tool is not installed"
done
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || e2e_skip "speech-dispatcher has no generic module"
e2e_start_xvfb || e2e_skip "Xvfb cannot start, so there is no window to test"

export HOME="$E2E_TMP/home" XDG_RUNTIME_DIR="$E2E_TMP/runtime" XDG_CONFIG_HOME="$E2E_TMP/config"
export XDG_DATA_HOME="$E2E_TMP/data" XDG_CACHE_HOME="$E2E_TMP/cache" GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher/modules" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" \
    "$E2E_TMP/speech-log" "$E2E_TMP/work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
spoken="$E2E_TMP/spoken.txt"
: >"$spoken"
helpers=()
trap 'status=$?; stop_helpers; (exit "$status"); e2e_cleanup' EXIT

# stop PID...: asks them to end, and ends them after 5 s.
stop() {
    kill -TERM "$@" 2>/dev/null
    for _ in $(seq 50); do
        kill -0 "$@" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$@" 2>/dev/null
    wait "$@" 2>/dev/null
}

# The processes this test started, newest first.
stop_helpers() {
    local i
    for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do
        stop "${helpers[i]}"
    done
    helpers=()
}

# The capture module: every text Orca gives is one line of the file, as the synthesiser would
# have had it. It still opens the sound device, so a private sound server with a null sink runs.
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<EOF
LogLevel 3
LogDir "$E2E_TMP/speech-log"
AudioOutputMethod "pulse"
AddModule "capture" "sd_generic" "capture.conf"
DefaultModule capture
EOF
cat >"$XDG_CONFIG_HOME/speech-dispatcher/modules/capture.conf" <<EOF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $spoken"
# One line a message: the module would cut it at every full stop.
GenericDelimiters "~"
GenericMaxChunkLength 100000
GenericLanguage "en" "en" "utf-8"
GenericLanguage "ja" "ja" "utf-8"
AddVoice "en" "MALE1" "en"
AddVoice "ja" "MALE1" "ja"
DefaultVoice "en"
EOF

pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=t" >"$E2E_TMP/sound-server.log" 2>&1 &
helpers+=("$!")
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || e2e_skip "the sound server does not start"
# Started here rather than by Orca, in a locale the machine has: it stops at once in one
# that the C library lacks (Japanese is often not generated), which Orca's words need not be.
LANG=C.UTF-8 speech-dispatcher --run-single --timeout 0 >"$E2E_TMP/speech-server.log" 2>&1 &
helpers+=("$!")
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] ||
    e2e_fail "speech-dispatcher does not start: $(tail -n 3 "$E2E_TMP/speech-server.log")"
openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
helpers+=("$!")
# The bus launcher takes the session bus's environment, else the machine's own home.
dbus-update-activation-environment HOME XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME DISPLAY ||
    e2e_fail "the session bus takes no environment"
gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress >/dev/null ||
    e2e_fail "the accessibility bus does not start"
cd "$E2E_TMP/work" || e2e_fail "no working directory"

mark=0
# hear REGEX [SECONDS]: waits up to SECONDS (60) for a line spoken since the last mark that
# matches the extended REGEX; prints it and moves the mark past it.
hear() {
    local line number
    for ((tries = 0; tries < ${2:-60} * 10; tries++)); do
        line=$(tail -n +"$((mark + 1))" "$spoken" | grep -n -m 1 -E "$1")
        if [ -n "$line" ]; then
            number=${line%%:*}
            mark=$((mark + number))
            printf '%s\n' "${line#*:}"
            return 0
        fi
        sleep 0.1
    done
    e2e_log "Orca did not say /$1/; it said since:"
    tail -n +"$((mark + 1))" "$spoken" | sed 's/^/    /' >&2
    return 1
}

# keys KEY...: typed into whatever window has the focus, as a player types them.
keys() {
    xdotool key --delay 40 "$@"
}

# seconds_of_speech TEXT LANGUAGE: how long espeak-ng takes to say it at its default rate. Its
# Japanese voice reads kana only: the kanji are read into hiragana first.
seconds_of_speech() {
    local text=$1
    [ "$2" = ja ] && text=$(printf '%s' "$1" | iconv -f UTF-8 -t EUC-JP | kakasi -JH -i euc | iconv -f EUC-JP -t UTF-8)
    espeak-ng -v "$2" -w "$E2E_TMP/hint.wav" "$text" && soxi -D "$E2E_TMP/hint.wav"
}

# play LANG VOICE WORDS...: one run of Orca and the program in that language; WORDS are the
# regexes of what must be heard, in order (see below).
play() {
    local lang=$1 voice=$2 best=$3 row1=$4 row2=$5 paused=$6 state=$7 over=$8 line hint seconds
    printf '[Score]\nScore1=7\nTime1=75.3\nScore2=5\nTime2=60.5\n' >Setting.ini
    mark=$(wc -l <"$spoken")
    LANG=$lang orca --replace --debug-file="$E2E_TMP/orca-$voice.debug" >"$E2E_TMP/orca-$voice.log" 2>&1 &
    local orca=$!
    helpers+=("$orca")
    hear '.' 60 >/dev/null || e2e_fail "$lang: Orca says nothing"

    LANG=$lang TOCKLET_SEED=1 e2e_start "$tocklet"
    hear "$best" >/dev/null || e2e_fail "$lang: the title's status is not heard"
    hear '^Start' >/dev/null || e2e_fail "$lang: the title's focus is not heard"

    keys r
    hear "$row1" >/dev/null || e2e_fail "$lang: the first row of the records is not heard"
    keys Down
    hear "$row2" >/dev/null || e2e_fail "$lang: Down does not read the second row"
    keys KP_Enter
    hear "$row2" >/dev/null || e2e_fail "$lang: Where Am I does not read the row"
    keys Escape
    hear '^Start' >/dev/null || e2e_fail "$lang: the title's focus is not heard after the records"

    keys Return
    hint=$(hear '[Ee]nter|エンター') || e2e_fail "$lang: the hint is not heard"
    seconds=$(seconds_of_speech "$hint" "$voice") || e2e_fail "$lang: espeak-ng cannot say the hint"
    awk -v s="$seconds" 'BEGIN { exit !(s <= 6.0) }' ||
        e2e_fail "$lang: the hint takes $seconds s to say: \"$hint\""
    e2e_log "$lang: the hint is $seconds s of speech: $hint"
    # The gesture is made during the pause: however slowly the keys come, the grace does not
    # run out first. Anchored at the bottom edge and carried above it, the weight swings off
    # the field and is lost.
    keys p
    hear "$paused" >/dev/null || e2e_fail "$lang: the pause is not heard"
    keys KP_Enter
    hear "$state" >/dev/null || e2e_fail "$lang: Where Am I does not tell the field's state"
    keys $(printf 'Down %.0s' $(seq 26)) Return $(printf 'Up %.0s' $(seq 12)) Return p
    line=$(hear 'GameOver!!' 90) || e2e_fail "$lang: GameOver!! is not heard"
    seconds=$(sed -nE "s/.*$over.*/\\1/p" <<<"$line")
    [ -n "$seconds" ] || e2e_fail "$lang: heard \"$line\", not GameOver!! with the time in third place"
    hear '^Start' >/dev/null || e2e_fail "$lang: the title's focus is not heard after the game"
    for _ in $(seq 100); do
        awk -F= -v s="$seconds" '$1 == "Time3" && $2 == s + 0 { found = 1 } END { exit !found }' Setting.ini &&
            break
        sleep 0.1
    done
    awk -F= -v s="$seconds" '$1 == "Time3" && $2 == s + 0 { found = 1 } END { exit !found }' Setting.ini ||
        e2e_fail "$lang: heard $seconds s, but Setting.ini holds $(cat Setting.ini)"
    e2e_log "$lang: heard \"$line\", as saved"

    e2e_terminate 10 || e2e_fail "$lang: the program does not end on SIGTERM"
    stop "$orca"
}

started=$SECONDS
play ja_JP.UTF-8 ja 'ベストタイム[:：]75\.3秒' '1位[:：]75\.3秒、おもり7個' '2位[:：]60\.5秒、おもり5個' '一時停止' \
    '揺れているおもり0個' 'GameOver!! 今回のタイム[:：]([0-9.]+)秒[ 　]記録3位'
play en_US.UTF-8 en 'Best time: 75\.3 s' 'Place 1: 75\.3 seconds, 7 weights' 'Place 2: 60\.5 seconds, 5 weights' 'Paused' \
    '0 weights swinging' 'GameOver!! This game: ([0-9.]+) s, place 3 in the records'
e2e_log "Orca heard both games in $((SECONDS - started)) s"
