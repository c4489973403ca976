// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>

class QApplication;

// The program icon IDI_MAIN: 16 and 32 pixel images, and 64 for screens with doubled pixels.
QIcon LoadMainIcon();

// Gives the application its names for the desktop and its window icon.
void SetUpApplication(QApplication& application);
