// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/SoundOutput.h"

#include "audio/SampleCount.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QString>

#include <array>
#include <chrono>

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's audio warnings: most come in the default category, so they are told by their words.
bool IsAudioMessage(const QMessageLogContext& context, const QString& message)
{
    constexpr std::array<const char*, 8> Starts = {
        "PulseAudioService", "QAudioSink", "QPulseAudio",    "No audio device",
        "pa_stream",         "Stream ",    "Opening stream", "Draining stream",
    };
    if (context.category && QString::fromLatin1(context.category).startsWith("qt.multimedia"))
        return true;
    // qWarning() << "…" puts its first words in quotes.
    const QString words = message.startsWith('"') ? message.mid(1) : message;
    for (const char* start : Starts) {
        if (words.startsWith(QLatin1String(start)))
            return true;
    }
    return false;
}

// A machine without sound plays as before: quietly, with nothing on standard error.
void HoldBackAudioMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg && IsAudioMessage(context, message))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        qt_message_output(type, context, message);
}

} // namespace

SoundOutput::SoundOutput(QObject* parent)
    : QObject(parent)
    , bank(SampleRate)
    , mixer(bank)
{
    // Once for the run, and kept: the server may still warn as the program ends.
    static const bool holding = [] {
        previousHandler = qInstallMessageHandler(HoldBackAudioMessages);
        return true;
    }();
    Q_UNUSED(holding);
    feedTimer.setTimerType(Qt::PreciseTimer);
    connect(&feedTimer, &QTimer::timeout, this, &SoundOutput::Feed);
    reopenTimer.setSingleShot(true);
    connect(&reopenTimer, &QTimer::timeout, this, &SoundOutput::Open);
    Open();
}

SoundOutput::~SoundOutput()
{
    feedTimer.stop();
    mixer.SetListening(false);
    if (sink)
        sink->stop();
    sink.reset();
}

void SoundOutput::Open()
{
    // The one lost, if any, goes now: never from inside its own signal.
    sink.reset();
    stream = nullptr;
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) {
        // No server at start: nothing to wait for. After a loss: look again later.
        if (lost)
            reopenTimer.start(ReopenMilliseconds);
        return;
    }
    QAudioFormat format;
    format.setSampleRate(SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    sink = std::make_unique<QAudioSink>(output, format);
    sink->setBufferSize(static_cast<qsizetype>(format.bytesForDuration(qint64{BufferMilliseconds} * 1000)));
    connect(sink.get(), &QAudioSink::stateChanged, this, &SoundOutput::OnStateChanged);
    stream = sink->start();
    if (!stream) {
        if (lost)
            reopenTimer.start(ReopenMilliseconds);
        return;
    }
    OnStateChanged(sink->state());
    // A sink that failed at once is not fed; after a loss the reopen timer looks again.
    if (sink->error() != QAudio::NoError) {
        if (lost && !reopenTimer.isActive())
            reopenTimer.start(ReopenMilliseconds);
        return;
    }
    lost = false;
    clock.start();
    given = 0;
    feedTimer.start(FeedMilliseconds);
}

void SoundOutput::Feed()
{
    if (!sink || !stream)
        return;
    // Ahead of the clock by at most the sink's buffer; what fell further behind is skipped.
    const std::int64_t due = SampleCount(std::chrono::nanoseconds(clock.nsecsElapsed()), SampleRate);
    const std::int64_t behind = due - given - std::int64_t{SampleRate} * BufferMilliseconds / 1000;
    if (behind > 0) {
        mixer.Skip(static_cast<std::size_t>(behind));
        given += behind;
    }
    const qsizetype room = sink->bytesFree() / 2;
    if (room <= 0)
        return;
    samples.resize(static_cast<std::size_t>(room));
    mixer.Render(samples);
    given += room;
    stream->write(reinterpret_cast<const char*>(samples.data()), room * 2); // NOLINT
}

void SoundOutput::OnStateChanged(QAudio::State state)
{
    mixer.SetListening(state == QAudio::ActiveState || state == QAudio::IdleState);
    if (state == QAudio::StoppedState && sink && sink->error() != QAudio::NoError) {
        feedTimer.stop();
        lost = true;
        reopenTimer.start(ReopenMilliseconds);
    }
}
