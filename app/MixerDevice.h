// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIODevice>

class Mixer;

// The mixer as a never-ending stream of 16-bit samples for a sound sink to pull from.
class MixerDevice : public QIODevice {
    Q_OBJECT

public:
    // The mixer must outlive the device.
    explicit MixerDevice(Mixer& mixer, QObject* parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    Mixer& mixer;
};
