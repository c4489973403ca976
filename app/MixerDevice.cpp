// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/MixerDevice.h"

#include "audio/Mixer.h"

#include <cstdint>
#include <span>

namespace {

// As much as a sink may ask for at once; the mixer never runs dry.
constexpr qint64 Endless = 1 << 20;

} // namespace

MixerDevice::MixerDevice(Mixer& source, QObject* parent)
    : QIODevice(parent)
    , mixer(source)
{
    open(QIODevice::ReadOnly);
}

qint64 MixerDevice::bytesAvailable() const
{
    return Endless + QIODevice::bytesAvailable();
}

qint64 MixerDevice::readData(char* data, qint64 maxSize)
{
    const auto count = static_cast<std::size_t>(maxSize / 2);
    // Qt hands a buffer of bytes; the samples are 16-bit and its start is aligned for them.
    mixer.Render(std::span<std::int16_t>(reinterpret_cast<std::int16_t*>(data), count)); // NOLINT
    return static_cast<qint64>(count * 2);
}

qint64 MixerDevice::writeData(const char*, qint64)
{
    return -1;
}
