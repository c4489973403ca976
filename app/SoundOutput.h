// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "audio/Mixer.h"
#include "audio/SoundBank.h"

#include <QAudio>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

class QAudioSink;
class QIODevice;

// The run's one sound stream: the default output of the sound server, opened once at start
// and fed from the mixer every few milliseconds on the window's thread. The mixer keeps to the
// clock: what the device does not take in time is skipped, so that no sound comes late. Without a sound
// device or server the game is silent and nothing is said; a server lost during play leaves the sound off
// until the next start.
class SoundOutput : public QObject {
    Q_OBJECT

public:
    static constexpr int SampleRate = 48000;
    // What the sink holds ahead of the speaker: small, so that a release is heard at once.
    static constexpr int BufferMilliseconds = 20;
    static constexpr int FeedMilliseconds = 5;
    // Qt's PulseAudio client reconnects 3 s after it lost its server; the sink is then made
    // again at the next look.
    static constexpr int ReopenMilliseconds = 1000;

    explicit SoundOutput(QObject* parent = nullptr);
    ~SoundOutput() override;

    Mixer& GetMixer() { return mixer; }

private:
    void Open();
    void OnStateChanged(QAudio::State state);
    void Feed();

    SoundBank bank;
    Mixer mixer;
    std::unique_ptr<QAudioSink> sink;
    // Not owned: the sink's own.
    QIODevice* stream = nullptr;
    QTimer feedTimer;
    QTimer reopenTimer;
    QElapsedTimer clock;
    // The server went away during the run.
    bool lost = false;
    // Samples the mixer has given since the clock started, written or skipped.
    std::int64_t given = 0;
    std::vector<std::int16_t> samples;
};
