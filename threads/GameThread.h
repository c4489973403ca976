// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/PassRate.h"
#include "base/SecondsText.h"
#include "threads/DialogThread.h"
#include "threads/Stopwatch.h"

#include <chrono>
#include <functional>
#include <string>

class GameSurface;

// The game: on its own thread it resets the surface's world, then ticks it every pass, writes
// the time since the game began into the status text and asks the owner window to repaint,
// until a stop request unwinds it at a check-point or the world's end-of-game rules end it.
// A pause request parks it at its next check-point: from then on no tick runs and the play time
// does not count until the request is lifted, and the message reads PauseText meanwhile.
class GameThread : public DialogThread {
public:
    static constexpr std::chrono::milliseconds PassInterval{1000 / PassesPerSecond};
    static constexpr std::chrono::milliseconds EndDisplayDuration{2000};
    // How far behind the wall clock the passes may fall and still be made up.
    static constexpr std::chrono::milliseconds MaxCatchUp{100};
    static constexpr char PauseText[] = "Pause";

    GameThread();
    ~GameThread() override;

    // The status text for the play time shown, in seconds: the owner's words round the number.
    using PlayTimeText = std::function<std::string(double seconds)>;

    // Not owned; set before the first Start and not changed while a game runs.
    void SetScreen(GameSurface* surface);
    // Only while no game runs. Without one the status text is the bare number, as FormatSeconds
    // gives it.
    void SetPlayTimeText(PlayTimeText text);

    void Run() override;
    void OnPause() override;
    void OnResume() override;

protected:
    // Only while no game runs.
    void SetClock(Stopwatch::Clock newClock);
    void SetEndDisplay(std::chrono::milliseconds duration);

private:
    void RepaintOwner(bool erase);
    void ShowEndOfGame(GameSurface& surface);

    GameSurface* screen = nullptr;
    PlayTimeText playTimeText = FormatSeconds;
    Stopwatch::Clock clock = Stopwatch::SteadyClockMs;
    // Both used only on the game thread.
    Stopwatch stopwatch;
    std::string messageBeforePause;
    // The play time the status text shows now, from the last pass or from a pause.
    double shownSeconds = 0.0;
    std::chrono::milliseconds endDisplay = EndDisplayDuration;
};
