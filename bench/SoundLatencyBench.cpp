// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// How long a release takes to be heard: the real sound output plays a tock into the default
// sound server while this program records the server's monitor of it, and measures from the
// event to the first sample of the tock in the recording. Run it through sound-latency.sh,
// which starts a private PulseAudio with a null sink; prints a Markdown table.
//
//     sound_latency_bench [releases]

#include "app/SoundOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSource>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int Rate = SoundOutput::SampleRate;
constexpr int SpacingMs = 400;
// Well above the silence of a null sink, which is exact zeros.
constexpr int Heard = 500;

// The null sink's monitor, offered by sound-latency.sh as a source of its own.
QAudioDevice MonitorSource()
{
    for (const QAudioDevice& input : QMediaDevices::audioInputs()) {
        if (input.id() == "heard")
            return input;
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int releases = argc > 1 ? std::atoi(argv[1]) : 20;
    SoundOutput output;
    const QAudioDevice monitor = MonitorSource();
    if (monitor.isNull()) {
        std::fprintf(stderr, "sound_latency_bench: no monitor source; run it through sound-latency.sh\n");
        return 1;
    }
    QAudioFormat format;
    format.setSampleRate(Rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    QAudioSource source(monitor, format);
    source.setBufferSize(static_cast<qsizetype>(format.bytesForDuration(20'000)));
    QIODevice* recording = source.start();

    QElapsedTimer clock;
    clock.start();
    std::vector<double> latencies;
    double sentAt = -1.0;
    QObject::connect(recording, &QIODevice::readyRead, [&] {
        const QByteArray chunk = recording->readAll();
        const double arrived = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        const auto* samples = reinterpret_cast<const std::int16_t*>(chunk.constData()); // NOLINT
        const qsizetype count = chunk.size() / 2;
        for (qsizetype i = 0; i < count && sentAt >= 0.0; ++i) {
            if (std::abs(samples[i]) < Heard)
                continue;
            // The sample was recorded as long before the chunk arrived as the samples after it last.
            latencies.push_back(arrived - static_cast<double>(count - i) * 1000.0 / Rate - sentAt);
            sentAt = -1.0;
        }
    });
    QTimer release;
    QObject::connect(&release, &QTimer::timeout, [&] {
        if (static_cast<int>(latencies.size()) >= releases) {
            application.quit();
            return;
        }
        sentAt = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        output.GetMixer().Notify(GameEvent::Release, 100);
    });
    QTimer::singleShot(SpacingMs, [&] { release.start(SpacingMs); });
    QTimer::singleShot(releases * SpacingMs * 3 + 2000, &application, &QCoreApplication::quit);
    application.exec();

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
