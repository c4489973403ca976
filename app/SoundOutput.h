// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "audio/Mixer.h"
#include "audio/SoundBank.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

// The run's one sound stream, to the default output of the sound server (PulseAudio, or
// PipeWire's Pulse server), on a thread of its own: the server asks that thread for samples as
// it needs them, so that neither a busy window nor a server that does not answer holds anything
// up or is held up. Without a server the game is silent and nothing is said; a server that is
// not there, goes away or does not answer is looked for again every second, and used as soon as
// it answers.
class SoundOutput {
public:
    static constexpr int SampleRate = 48000;
    // The latency asked of the server, which shares it out between its sink and this stream:
    // small enough that a release is heard within about 20 ms, with room for the server to wait
    // a few milliseconds for a thread that busy programs keep from a core.
    static constexpr int BufferMilliseconds = 30;
    // The least the server asks for at a time.
    static constexpr int RequestMilliseconds = 5;
    static constexpr std::chrono::milliseconds RetryDelay{1000};
    // A server that has not made the stream by then is taken for one that does not answer.
    static constexpr std::chrono::milliseconds AnswerDelay{2000};

    SoundOutput();
    ~SoundOutput();
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    Mixer& GetMixer() { return mixer; }

private:
    using Clock = std::chrono::steady_clock;

    void Run();
    // One look at the connection after the loop has dispatched what came; the time until the
    // next look is due, or none when only the server's messages matter.
    std::optional<Clock::duration> Look(Clock::time_point now);
    void Connect(Clock::time_point now);
    void OpenStream();
    // Leaves the server, and looks again after RetryDelay.
    void Drop(Clock::time_point now);
    void Write(std::size_t bytes);
    static void OnWritable(pa_stream* stream, std::size_t bytes, void* self);

    SoundBank bank;
    Mixer mixer;
    // Made before the thread and freed after it; the thread alone uses it in between, and the
    // destructor only wakes it.
    pa_mainloop* loop = nullptr;
    std::atomic<bool> stopping{false};

    // The thread's own.
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    Clock::time_point triedAt{};
    Clock::time_point nextTry{};
    std::optional<Clock::time_point> lastRequest;
    std::vector<std::int16_t> samples;

    // Last: started once everything it uses is made.
    std::thread thread;
};
