// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Counts what a listener hears as crackle in a recording of the game's sound: raw 16-bit mono
// samples taken from a null sink's monitor, where nothing playing is exact zeros. Every sound of
// the game ramps in and out over 2 ms, so its first and last samples are tiny:
//   - a silence is a run of at least 1 ms of zeros;
//   - an abrupt start is a sound whose first samples after a silence are loud, an abrupt end
//     one whose last samples before a silence are;
//   - a dropout is a silence between an abrupt end and an abrupt start: a sound broken off and
//     taken up again.
// Run by sound-dropouts.sh; prints one row of its table.
//
//     sound_dropouts recording.raw

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr std::size_t SilentRun = 48;
// The samples looked at on each side of a silence, and how loud one of them must be to be heard
// as a click: the game's sounds reach at most a few hundred within their first four samples.
constexpr std::size_t Edge = 4;
constexpr int Loud = 1000;

struct Counts {
    int sounds = 0;
    int abruptStarts = 0;
    int abruptEnds = 0;
    int dropouts = 0;
};

bool LoudIn(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to)
{
    return std::any_of(samples.begin() + static_cast<std::ptrdiff_t>(from),
                       samples.begin() + static_cast<std::ptrdiff_t>(to),
                       [](std::int16_t sample) { return std::abs(static_cast<int>(sample)) >= Loud; });
}

Counts Count(const std::vector<std::int16_t>& samples)
{
    Counts counts;
    bool endedAbruptly = false;
    std::size_t i = 0;
    // Before the first sample the recording counts as silent.
    std::size_t zeros = SilentRun;
    while (i < samples.size()) {
        if (samples[i] == 0) {
            ++zeros;
            ++i;
            continue;
        }
        if (zeros >= SilentRun) {
            ++counts.sounds;
            const bool abruptStart = LoudIn(samples, i, std::min(i + Edge, samples.size()));
            counts.abruptStarts += abruptStart ? 1 : 0;
            counts.dropouts += abruptStart && endedAbruptly ? 1 : 0;
        }
        zeros = 0;
        // To the end of this sound: the next silence, or the end of the recording.
        std::size_t end = i;
        std::size_t run = 0;
        while (end < samples.size() && run < SilentRun) {
            run = samples[end] == 0 ? run + 1 : 0;
            ++end;
        }
        if (run < SilentRun) {
            // Cut off by the end of the recording, not by the sound.
            endedAbruptly = false;
            break;
        }
        const std::size_t last = end - run;
        endedAbruptly = LoudIn(samples, last - std::min(last - i, Edge), last);
        counts.abruptEnds += endedAbruptly ? 1 : 0;
        i = end;
        zeros = run;
    }
    return counts;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_dropouts recording.raw\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file.eof() && !file) {
        std::fprintf(stderr, "sound_dropouts: cannot read %s\n", argv[1]);
        return 2;
    }
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto low = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto high = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(low | high << 8));
    }
    const Counts counts = Count(samples);
    std::printf("| %.1f s | %d | %d | %d | %d |\n", static_cast<double>(samples.size()) / 48000.0,
                counts.sounds, counts.dropouts, counts.abruptStarts, counts.abruptEnds);
    return 0;
}
