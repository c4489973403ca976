#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
# Set-up, build and run on Debian 12.
#   ./run.sh        install what is missing, build, start the game
#   ./run.sh test   install what is missing, build, run every test but the soak test
#   ./run.sh test quick   the same for the plain build alone: no lint, sanitizers or fuzzing
#   ./run.sh soak   install what is missing, build, play the real game for 10 minutes
#   ./run.sh format format every tracked C++ file with the repository's .clang-format
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config libgtest-dev libbenchmark-dev qt6-base-dev
          fonts-ipafont-gothic xvfb xauth xdotool imagemagick libx11-dev libxcb1-dev clang libclang-rt-14-dev
          desktop-file-utils appstream dpkg-dev lintian reuse man-db groff-base clang-format
          clang-tidy qt6-tools-dev qt6-l10n-tools at-spi2-core python3-pyatspi dbus-daemon libglib2.0-bin
          libpulse-dev pulseaudio pulseaudio-utils orca speech-dispatcher openbox espeak-ng sox kakasi)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "run.sh: installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

jobs=$(nproc)

# configure_and_build <build dir> [cmake options...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" --parallel "$jobs"
}

# run_ctest <build dir>: every test of that build but the soak test; the counts go to the
# summary at the end.
run_ctest() {
    (cd "$1" && ctest --output-on-failure --parallel "$jobs" --label-exclude soak) | tee "$1/ctest.log"
}

# One closing line over all three builds, in the form test runners end with.
print_summary() {
    awk '/tests passed, [0-9]+ tests failed out of/ { total += $NF; failed += $4 }
         END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$@"
}

# Every tracked C++ file but the fuzzer's seeds.
cxx_files() {
    git ls-files -- '*.cpp' '*.h' ':!:fuzz/corpus/*'
}

format_tree() {
    cxx_files | xargs -r clang-format -i
}

# Fails, naming the files, when one differs from what clang-format makes of it.
check_format() {
    local log=build/clang-format.log
    if ! cxx_files | xargs -r clang-format --dry-run -Werror >"$log" 2>&1; then
        grep -o '^[^:]*\.\(cpp\|h\):' "$log" | sort -u | tr -d ':' | sed 's/^/  /' >&2
        echo "run.sh: these files are not formatted (see $log); ./run.sh format formats them" >&2
        exit 1
    fi
}

# clang-tidy with the repository's .clang-tidy over the program's sources (not the tests,
# benchmarks or fuzzer), from the normal build's compile commands; any warning fails. A file
# that includes Qt takes ten times as long as one that does not: those go first, one at a time,
# so that both cores stay busy to the end.
check_tidy() {
    local log=build/clang-tidy.log
    if ! { git ls-files -- 'app/*.cpp' 'render/*.cpp'; git ls-files -- 'model/*.cpp' 'threads/*.cpp' \
            'persist/*.cpp' 'audio/*.cpp'; } | xargs -r -n 1 -P "$jobs" clang-tidy -p build --quiet >"$log" 2>&1; then
        grep -E 'warning:|error:' "$log" >&2 || tail -n 40 "$log" >&2
        echo "run.sh: clang-tidy found the above (all of it in $log)" >&2
        exit 1
    fi
}

# phase NAME COMMAND...: runs the command and notes how long it took for the closing table.
phase_table=()
phase() {
    local name=$1 started=$SECONDS
    shift
    "$@"
    phase_table+=("$(printf '  %-44s %4d s' "$name" $((SECONDS - started)))")
}

# in_background LOG COMMAND...: runs the command at the lowest CPU priority, its output in LOG;
# BACKGROUND_PID names it for finish_background.
in_background() {
    local log=$1
    shift
    (
        renice -n 19 -p "$BASHPID" >/dev/null
        "$@"
    ) >"$log" 2>&1 &
    BACKGROUND_PID=$!
}

# finish_background PID LOG: waits for it; when it failed, shows its log and fails.
finish_background() {
    if ! wait "$1"; then
        tail -n 60 "$2" >&2
        echo "run.sh: a background step failed (all of it in $2)" >&2
        exit 1
    fi
    grep -v '^\[[0-9]*/[0-9]*\] ' "$2" || true
}

sanitizer_builds() {
    configure_and_build build-asan -DTOCKLET_PLAIN_ONLY=OFF -DTOCKLET_SANITIZE=address
    configure_and_build build-tsan -DTOCKLET_PLAIN_ONLY=ON -DTOCKLET_SANITIZE=thread
}

# The settings parser and writer under libFuzzer (clang).
fuzz_build() {
    cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build build-fuzz --parallel "$jobs"
}

tidy_and_fuzz_build() {
    check_tidy
    fuzz_build
}

# The seed corpora, then 20 s of fuzzing: 12 s for the settings parser, 8 s for the replay reader.
fuzz_run() {
    mkdir -p build-fuzz/found build-fuzz/found-replay
    local target seconds found corpus
    for run in "ini_document_fuzz 12 found corpus" "replay_file_fuzz 8 found-replay replay-corpus"; do
        read -r target seconds found corpus <<<"$run"
        if ! build-fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
                -artifact_prefix=build-fuzz/ build-fuzz/"$found" fuzz/"$corpus" >build-fuzz/"$target".log 2>&1; then
            tail -n 60 build-fuzz/"$target".log
            echo "run.sh: $target found a failing input, kept as build-fuzz/crash-*" >&2
            exit 1
        fi
        echo "run.sh: $target found nothing ($(grep -o 'Done [0-9]* runs' build-fuzz/"$target".log))"
    done
}

run_tests() {
    local quick=${1:-}
    phase "plain build" configure_and_build build
    if [ "$quick" = quick ]; then
        phase "plain tests" run_ctest build
        print_summary build/ctest.log
        return
    fi
    phase "format" check_format

    # Everything once more under AddressSanitizer with LeakSanitizer and UndefinedBehaviorSanitizer
    # (the plain layers, the widgets off screen, the real program under Xvfb), and the plain
    # layers, the game loop among them, under ThreadSanitizer; any report fails the run. Qt is
    # not built for ThreadSanitizer, so its locks are invisible to it: the GUI tests stay out.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
    # Without a session bus libdbus starts one by forking, from a program whose sound thread may
    # hold AddressSanitizer's allocator lock at that moment; this compiler's sanitizer runtime is
    # not fork-safe, and the child then hangs before its exec with the window waiting on it (about
    # one start in 16). A bus that is named but absent fails at once; the reader tests start
    # buses of their own, and the plain build's runs keep the desktop's way.
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$PWD/build-asan/no-session-bus"

    # The plain build's tests spend most of their time waiting for an X server, a game's clock or
    # a lock: the sanitized builds, clang-tidy and the fuzzer's build use that time at the lowest
    # CPU priority, which leaves the tests the processor whenever they want it.
    mkdir -p build-logs
    in_background build-logs/sanitizer-builds.log sanitizer_builds
    local builds=$BACKGROUND_PID
    phase "plain tests (sanitized builds beside them)" run_ctest build
    phase "rest of the sanitized builds" finish_background "$builds" build-logs/sanitizer-builds.log
    in_background build-logs/tidy-and-fuzz-build.log tidy_and_fuzz_build
    local lint=$BACKGROUND_PID
    phase "ASan tests (clang-tidy, fuzz build beside)" run_ctest build-asan
    phase "rest of clang-tidy and the fuzz build" finish_background "$lint" build-logs/tidy-and-fuzz-build.log
    # The fuzzer runs for a fixed time on one core, at the tests' own priority, beside the
    # ThreadSanitizer tests.
    (fuzz_run) >build-logs/fuzzing.log 2>&1 &
    local fuzzing=$!
    phase "TSan tests (fuzzing beside them)" run_ctest build-tsan
    phase "rest of the fuzzing" finish_background "$fuzzing" build-logs/fuzzing.log
    echo "run.sh: where the time went"
    printf '%s\n' "${phase_table[@]}"
    print_summary build/ctest.log build-asan/ctest.log build-tsan/ctest.log
}

install_missing
case "${1:-}" in
    test)
        run_tests "${2:-}"
        ;;
    soak)
        configure_and_build build
        rm -f build/soak-report.txt
        status=0
        (cd build && ctest --output-on-failure --label-regex soak) || status=$?
        [ -f build/soak-report.txt ] && cat build/soak-report.txt
        exit "$status"
        ;;
    format)
        format_tree
        ;;
    "")
        configure_and_build build
        exec build/app/tocklet
        ;;
    *)
        echo "usage: ./run.sh [test [quick]|soak|format]" >&2
        exit 2
        ;;
esac
