// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"

class GameScreen;

// The swing gesture during play, made with the mouse or with the keys and never both at once:
// the keys aim a crosshair and drive the very gesture calls a press, drag and release make.
// A press of the mouse drops a drag of the keys, and Enter drops a drag of the mouse.
class PlayInput {
public:
    // Steps of the crosshair in pixels, with Shift and without.
    static constexpr int FineStep = 1;
    static constexpr int Step = 8;
    // What a key did: aimed the crosshair, fixed the anchor there, carried the weight to it,
    // let the weight swing, or dropped it; None for a key that is not the gesture's.
    enum class KeyStep { None, Aimed, Anchored, Carried, Released, Dropped };

    explicit PlayInput(GameScreen& screen);

    // Each returns true when the scene shows something new.
    bool MousePress(Point point);
    bool MouseMove(Point point);
    bool MouseRelease(Point point);
    // The keys' side of the gesture: the arrows aim, Enter fixes the anchor or releases, and
    // Escape drops a drag of the keys, None when there is none. Every other step shows
    // something new.
    KeyStep MoveCrosshair(int dx, int dy);
    KeyStep Enter();
    KeyStep DropKeyDrag();
    // A game began or ended: no gesture goes on into the next.
    void Forget();

private:
    enum class Gesture { None, Mouse, Keys };

    void Drop();

    GameScreen& screen;
    Gesture gesture = Gesture::None;
};
