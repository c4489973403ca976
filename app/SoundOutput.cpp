// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/SoundOutput.h"

#include "audio/SampleCount.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>

#include <initializer_list>
#include <system_error>
#include <utility>

namespace {

constexpr const char* Name = "Tocklet";
constexpr const char* DesktopId = TOCKLET_DESKTOP_ID;

std::uint32_t BytesFor(int milliseconds)
{
    return static_cast<std::uint32_t>(SoundOutput::SampleRate / 1000 * milliseconds) * sizeof(std::int16_t);
}

// A proplist with the given pairs, freed with it.
class Properties {
public:
    Properties(std::initializer_list<std::pair<const char*, const char*>> pairs)
        : list(pa_proplist_new())
    {
        for (const auto& [key, value] : pairs)
            pa_proplist_sets(list, key, value);
    }
    ~Properties() { pa_proplist_free(list); }
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;

    pa_proplist* Get() const { return list; }

private:
    pa_proplist* list;
};

} // namespace

SoundOutput::SoundOutput()
    : bank(SampleRate)
    , mixer(bank)
    , loop(pa_mainloop_new())
{
    if (!loop)
        return;
    try {
        thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // A machine that cannot start one more thread plays the game silently.
    }
}

SoundOutput::~SoundOutput()
{
    stopping = true;
    if (thread.joinable()) {
        pa_mainloop_wakeup(loop);
        thread.join();
    }
    if (loop)
        pa_mainloop_free(loop);
}

void SoundOutput::Run()
{
    nextTry = Clock::now();
    for (;;) {
        const std::optional<Clock::duration> wait = Look(Clock::now());
        const int timeout =
            wait ? static_cast<int>(std::chrono::ceil<std::chrono::microseconds>(*wait).count()) : -1;
        if (pa_mainloop_prepare(loop, timeout) < 0)
            break;
        // After the prepare, which clears the wake-up that the destructor sends after setting it.
        if (stopping)
            break;
        if (pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
            break;
    }
    Drop(Clock::now());
}

std::optional<SoundOutput::Clock::duration> SoundOutput::Look(Clock::time_point now)
{
    if (!context) {
        if (now >= nextTry)
            Connect(now);
        if (!context)
            return nextTry - now;
    }
    const auto waitForAnswer = [&]() -> std::optional<Clock::duration> {
        if (now - triedAt < AnswerDelay)
            return triedAt + AnswerDelay - now;
        Drop(now);
        return RetryDelay;
    };
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY: break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED: Drop(now); return RetryDelay;
    default: return waitForAnswer();
    }
    if (!stream) {
        triedAt = now;
        OpenStream();
        if (!stream) {
            Drop(now);
            return RetryDelay;
        }
    }
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY: mixer.SetListening(true); return std::nullopt;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED: Drop(now); return RetryDelay;
    default: return waitForAnswer();
    }
}

void SoundOutput::Connect(Clock::time_point now)
{
    triedAt = now;
    const Properties properties{{PA_PROP_APPLICATION_NAME, Name},
                                {PA_PROP_APPLICATION_ID, DesktopId},
                                {PA_PROP_APPLICATION_ICON_NAME, DesktopId}};
    context = pa_context_new_with_proplist(pa_mainloop_get_api(loop), Name, properties.Get());
    // A game starts no sound server of its own.
    if (!context || pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        Drop(now);
}

void SoundOutput::OpenStream()
{
    const pa_sample_spec format{PA_SAMPLE_S16NE, SampleRate, 1};
    const Properties properties{{PA_PROP_MEDIA_ROLE, "game"}};
    stream = pa_stream_new_with_proplist(context, Name, &format, nullptr, properties.Get());
    if (!stream)
        return;
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = BytesFor(BufferMilliseconds);
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = BytesFor(RequestMilliseconds);
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    pa_stream_set_write_callback(stream, &SoundOutput::OnWritable, this);
    lastRequest.reset();
    if (pa_stream_connect_playback(stream, nullptr, &attributes, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr)
        < 0) {
        pa_stream_unref(stream);
        stream = nullptr;
    }
}

void SoundOutput::Drop(Clock::time_point now)
{
    mixer.SetListening(false);
    // What was playing is over by the time a server is heard again.
    mixer.Skip(static_cast<std::size_t>(SampleCount(RetryDelay, SampleRate)));
    if (stream) {
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
    if (context) {
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
    lastRequest.reset();
    nextTry = now + RetryDelay;
}

void SoundOutput::OnWritable(pa_stream* /*stream*/, std::size_t bytes, void* self)
{
    static_cast<SoundOutput*>(self)->Write(bytes);
}

void SoundOutput::Write(std::size_t bytes)
{
    const Clock::time_point now = Clock::now();
    // Asked for nothing for longer than it held, the server has played silence (it was stopped,
    // or this thread kept from a core): that time passes unheard, so that no sound comes late.
    constexpr std::chrono::milliseconds Held{BufferMilliseconds};
    if (lastRequest && now - *lastRequest > Held)
        mixer.Skip(static_cast<std::size_t>(SampleCount(now - *lastRequest - Held, SampleRate)));
    lastRequest = now;
    samples.resize(bytes / sizeof(std::int16_t));
    mixer.Render(samples);
    pa_stream_write(stream, samples.data(), samples.size() * sizeof(std::int16_t), nullptr, 0,
                    PA_SEEK_RELATIVE);
}
