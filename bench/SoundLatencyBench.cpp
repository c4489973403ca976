// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// How long a release takes to be heard: the real sound output plays a tock into the default
// sound server while this program records the server's monitor of it, and measures from the
// event to the first sample of the tock in the recording. Run it through sound-latency.sh,
// which starts a private PulseAudio with a null sink; prints a Markdown table.
//
//     sound_latency_bench [releases]

#include "app/SoundOutput.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Rate = SoundOutput::SampleRate;
constexpr std::chrono::milliseconds Spacing{400};
// Well above the silence of a null sink, which is exact zeros.
constexpr int Heard = 500;
// Read a millisecond at a time, each stamped when it arrives.
constexpr std::size_t Chunk = Rate / 1000;

double Milliseconds(Clock::duration span)
{
    return std::chrono::duration<double, std::milli>(span).count();
}

} // namespace

int main(int argc, char* argv[])
{
    const int releases = argc > 1 ? std::atoi(argv[1]) : 20;
    SoundOutput output;
    const pa_sample_spec format{PA_SAMPLE_S16NE, Rate, 1};
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(Chunk * sizeof(std::int16_t));
    int error = 0;
    pa_simple* recording = pa_simple_new(nullptr, "sound_latency_bench", PA_STREAM_RECORD,
                                         "@DEFAULT_MONITOR@", "heard", &format, nullptr, &attributes, &error);
    if (!recording) {
        std::fprintf(stderr,
                     "sound_latency_bench: cannot record the monitor (%s); run it through sound-latency.sh\n",
                     pa_strerror(error));
        return 1;
    }

    const Clock::time_point start = Clock::now();
    const Clock::time_point giveUp = start + Spacing * releases * 3 + std::chrono::seconds(2);
    Clock::time_point nextRelease = start + Spacing;
    std::optional<Clock::time_point> sentAt;
    int sent = 0;
    std::vector<double> latencies;
    std::array<std::int16_t, Chunk> chunk{};
    while ((sent < releases || sentAt) && Clock::now() < giveUp) {
        if (pa_simple_read(recording, chunk.data(), sizeof(chunk), &error) < 0) {
            std::fprintf(stderr, "sound_latency_bench: recording failed: %s\n", pa_strerror(error));
            break;
        }
        const Clock::time_point arrived = Clock::now();
        for (std::size_t i = 0; i < chunk.size() && sentAt; ++i) {
            if (std::abs(chunk[i]) < Heard)
                continue;
            // The sample was recorded as long before the chunk arrived as the samples after it last.
            const double after = static_cast<double>(chunk.size() - i) * 1000.0 / Rate;
            latencies.push_back(Milliseconds(arrived - *sentAt) - after);
            sentAt.reset();
        }
        if (arrived < nextRelease)
            continue;
        // One not heard by the next is counted as lost.
        sentAt.reset();
        if (sent < releases && output.GetMixer().IsListening()) {
            sentAt = Clock::now();
            output.GetMixer().Notify(GameEvent::Release, 100);
            ++sent;
            nextRelease = arrived + Spacing;
        }
    }
    pa_simple_free(recording);

    if (latencies.empty()) {
        std::fprintf(stderr, "sound_latency_bench: no tock was heard\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("| releases heard | fastest | median | slowest |\n|---|---|---|---|\n");
    std::printf("| %zu of %d | %.1f ms | %.1f ms | %.1f ms |\n", latencies.size(), releases,
                latencies.front(), latencies[latencies.size() / 2], latencies.back());
    return latencies.size() == static_cast<std::size_t>(releases) && latencies.back() <= 50.0 ? 0 : 1;
}
