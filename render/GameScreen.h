// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/World.h"
#include "render/Screen.h"
#include "threads/GameSurface.h"

#include <mutex>
#include <optional>
#include <string>

class GameObject;
class Shadow;
class Swing;

// The screen of the main window with the world it shows: the title screen, or the swings in
// their greys with the obstacles, the message banner and the Stop button.
class GameScreen : public Screen, public GameSurface {
public:
    GameScreen();
    ~GameScreen() override;

    void Draw(DeviceContext& dc, const std::string& text) override;
    // The world's shadows drift over the same field.
    void SetArea(int left, int top, int right, int bottom) override;

    void ResetGame() override;
    void Tick() override;
    bool HasBegun() override;
    bool IsGameOver() override;
    bool IsFinished() override;
    int GetScore() override;
    void SetStatusText(std::string text) override;
    void SetPlaying(bool value) override;
    Rect GetAreaRect() const override;
    void NotePause(bool paused) override;
    std::unique_ptr<Replay> TakeReplay() override;

    // On the window's thread, between the end of one game thread and the start of the next:
    // the new game shows neither the last game's swings, shadows nor time, and shows the hint;
    // the title no longer shows the last game's result.
    void BeginGame();
    // The same for a replay, on the window's thread while neither a game nor a replay runs:
    // from here on the play scene shows no hint, and the world records no game.
    void BeginReplay();
    // Whether the play scene shows a replay rather than a game; the window's thread.
    bool IsReplaying() const { return replaying; }
    // Any thread: the play scene of a replay put away, for the records to show again.
    void EndReplay();
    // Any thread: where the recorded player presses or drags now, drawn as the crosshair.
    void SetReplayPointer(std::optional<Point> point);
    // Any thread: a line across the field under the banner; empty for none.
    void SetFieldNotice(std::string text);
    std::string GetFieldNotice() const;
    // The first swing of a game also puts the hint away for the rest of it.
    void BeginSwing(int x, int y);
    void DragSwing(int x, int y);
    void ReleaseSwing(int x, int y);
    // Ends the drag under way without a swing.
    void DropSwing();
    World& GetWorld() { return world; }
    // Whether the play scene shows the hint: from BeginGame to the first swing.
    bool IsHintShown() const { return hintShown; }

    // The swings and shadows, the time, the banner and the Stop button.
    void DrawPlayScene(DeviceContext& dc, const std::string& text);
    // How to play, in dim grey across the middle of the field.
    void DrawHint(DeviceContext& dc);
    // The hint's lines in the language in use, one after another.
    static std::string GetHintText();
    void DrawSwings(DeviceContext& dc);
    void DrawObstacles(DeviceContext& dc);
    static void DrawCrosshair(DeviceContext& dc, Point at);
    // The grey of the swing at a list index: 255, 235, ... 75, then again from 255.
    static ColorRef SwingFill(int index);
    static void DrawSwing(DeviceContext& dc, const Swing& swing, ColorRef fillColour);
    // A shadow in its harmless first moments: its outline alone, fading in, over whatever it
    // covers, so that a player can tell it from one that swallows.
    static void DrawArrivingShadow(DeviceContext& dc, const Shadow& shadow, int harmlessTicks);
    // An obstacle: dark inside, outlined in a grey that shows against the black field.
    static void DrawObject(DeviceContext& dc, const GameObject& object);

    // Where the keys aim on the field: the middle at the start of a game. Drawn only while
    // shown, from the first key that moves it until the mouse moves.
    Point crosshair{};
    bool crosshairShown = false;

private:
    World world;
    // Read and written on the window's thread only.
    bool hintShown = false;
    bool replaying = false;
    // Written by the replay's thread while the window's thread paints.
    mutable std::mutex replayLock;
    std::optional<Point> replayPointer;
    std::string fieldNotice;
};
