// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/MixerDevice.h"
#include "audio/Mixer.h"
#include "audio/SoundBank.h"

#include <QAudio>
#include <QObject>

#include <memory>

class QAudioSink;

// The run's one sound stream: the default output of the sound server, opened once at start
// and fed by the mixer. Without a sound device or server the game is silent and nothing is
// said; a server lost during play leaves the sound off until the next start.
class SoundOutput : public QObject {
    Q_OBJECT

public:
    static constexpr int SampleRate = 48000;
    // What the sink holds ahead of the speaker: small, so that a release is heard at once.
    static constexpr int BufferMilliseconds = 20;

    explicit SoundOutput(QObject* parent = nullptr);
    ~SoundOutput() override;

    Mixer& GetMixer() { return mixer; }
    // Whether a sound device takes the stream now.
    bool IsOpen() const;

private:
    void Open();
    void OnStateChanged(QAudio::State state);

    SoundBank bank;
    Mixer mixer;
    MixerDevice device;
    std::unique_ptr<QAudioSink> sink;
};
