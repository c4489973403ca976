// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/GameEventSink.h"
#include "base/Geometry.h"
#include "model/GameObject.h"
#include "model/ReplayRecorder.h"
#include "model/Shadow.h"
#include "model/ShadowRule.h"
#include "model/Swing.h"
#include "threads/LockedList.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <span>
#include <vector>

// The swings of the current game, the shadows that drift over the field, and the
// press-drag-release gesture that makes swings. The game begins with the first weight released:
// until then the field stays still. A shadow puts out the weights it covers, and a game is over
// once no released weight is left after the opening grace.
// Tick and ResetGame run on the game thread; the gestures on the window's thread. A gesture
// reaches the world between two passes, never during one, and is recorded with the pass it
// took effect on, so that a game plays out the same again from its replay.
class World {
public:
    World();
    virtual ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void InitWorld();
    // Deletes every swing, newest first, and every shadow; seeds the generator for the new
    // game. The gesture state stays as it is.
    void ResetGame();
    // The same for a game that starts from this seed, as a replay's does.
    void ResetGame(std::uint32_t seed);
    void Tick();
    // No released weight is alive, once the grace is over. A weight still dragged does not count.
    virtual bool IsGameOver();
    // The game begins with the first tick after a weight is released. On the game thread.
    bool HasBegun() const { return tickCount > 0; }
    // Always false: a game of survival has no finish line.
    virtual bool IsFinished();

    // Every later game starts from this seed instead of the clock's, so that the same gestures
    // at the same ticks play the same game.
    void FixSeed(std::uint32_t seed);
    // The field the shadows drift over and the weights must stay in.
    void SetArea(const Rect& area);
    // Where the world tells what can be heard: a weight released (ReleaseSwing), a swing at its
    // lowest point (Tick, for the whole field at most MaxLowestPointsPerSecond), a shadow that
    // comes, weights swallowed or lost off the field. Not owned; null for none. Only while no game
    // runs.
    void SetEventSink(GameEventSink* sink) { eventSink = sink; }
    static constexpr int MaxLowestPointsPerSecond = 4;
    // Ticks since the game began (none before the first weight released), and the weights hung
    // in it: the game's score.
    int GetTickCount() const { return tickCount; }
    int GetHungCount() const { return hungCount; }
    // The weights shadows swallowed in this game.
    int GetSwallowCount() const { return swallowCount; }

    // Whether the games from the next ResetGame on are recorded; on from the start.
    void SetRecording(bool on) { recording = on; }
    // The record of the game so far, which the game thread takes as the game ends; inputs after
    // it go unrecorded. Null when not recording or past a bound of a replay (base/Replay.h).
    std::unique_ptr<Replay> TakeReplay();
    // The game thread parks for a pause, or plays on: recorded between two passes.
    void NotePause(bool paused);

    int GetSwingCount() const { return swings.GetCount(); }
    int GetObstacleCount() const { return obstacles.GetCount(); }

    // A new swing whose weight starts on its anchor, carried until the release.
    void BeginSwing(int x, int y);
    void DragSwing(int x, int y);
    // Fixes the rope of the newest swing from where its weight is now; the point is not used.
    // A weight carried less than its radius from its anchor is dropped instead, unheard.
    void ReleaseSwing(int x, int y);
    // Ends a drag without a swing: the weight carried is put out. Nothing while none is dragged.
    void DropSwing();

    ShadowRule rule;
    LockedList<Swing> swings;
    // The shadows, for painting; the game thread adds to it and the reset empties it.
    LockedList<GameObject> obstacles;
    // Touched only by the gestures, on the window's thread.
    int currentSwingIndex = 0;
    bool dragging = false;

private:
    // An obstacle as this tick sees it: read once per pass, since only this thread changes them.
    struct ObstacleView {
        Rect box;
        // Null for a plain obstacle, which tests its rectangle and never grows.
        Shadow* shadow = nullptr;
    };
    // The obstacles that can put a weight out this tick, sorted into square cells of the field
    // so that a weight is tested only against the few near it.
    struct ObstacleGrid {
        static constexpr int CellSize = 16;
        Rect area;
        int columns = 0;
        int rows = 0;
        // The obstacles of cell c are entries[starts[c]] to entries[starts[c + 1] - 1].
        std::vector<int> starts;
        std::vector<int> entries;
        std::vector<int> fillCursor;

        void Fill(const Rect& field, const std::vector<ObstacleView>& views);
        // Inline: asked once for every weight on every tick.
        std::span<const int> CellAt(Point pt) const
        {
            const std::size_t cell = Cell(Index(pt.y - area.top, rows), Index(pt.x - area.left, columns));
            return std::span<const int>(entries).subspan(
                static_cast<std::size_t>(starts[cell]),
                static_cast<std::size_t>(starts[cell + 1] - starts[cell]));
        }
        // The cell of a pixel offset from the grid's origin, the outside ones folded onto the border.
        static int Index(int offset, int count)
        {
            return offset < 0 ? 0 : std::min(offset / CellSize, count - 1);
        }
        std::size_t Cell(int row, int column) const
        {
            return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns)
                   + static_cast<std::size_t>(column);
        }
    };

    // Moves the shadows, adds the one that is due, and reads every obstacle for the pass.
    void AdvanceObstacles();
    void AddShadow();
    // Updates one swing, then puts it out if it left the field for good or an obstacle covers it.
    void StepSwing(Swing& swing, int& released, int& releasedAlive);
    // Uniform in [low, high] for integers, [low, high) for doubles.
    int RandomInt(int low, int high);
    double RandomReal(double low, double high);

    Rect area{0, 0, 449, 407};
    std::optional<std::uint32_t> fixedSeed;
    // The rest belongs to the game thread, and to the window's thread only between games.
    std::mt19937 random;
    // Holds every obstacle of the pass alive while it is tested.
    std::vector<std::shared_ptr<GameObject>> obstacleHold;
    std::vector<ObstacleView> obstacleViews;
    ObstacleGrid grid;
    int nextTimedShadow = 0;
    int nextWeightShadow = 0;
    int tickCount = 0;
    int hungCount = 0;
    int aliveReleased = 0;
    // Set by the first release of a game, under passLock; the game begins at the tick that sees
    // it.
    bool weightReleased = false;
    GameEventSink* eventSink = nullptr;
    // Of the pass under way: whether a swing's pass of its lowest point is still looked for,
    // whether one passed, whether a weight was swallowed or lost off the field.
    bool watchLowest = false;
    bool lowestPassed = false;
    bool swallowed = false;
    bool lost = false;
    // The tick whose pass last told a lowest point.
    int lastLowestPointTold = 0;
    int swallowCount = 0;
    // Held by the game thread for each pass and by each gesture, so that an input falls between
    // two passes, and by the reset and the recorder's calls.
    std::mutex passLock;
    ReplayRecorder recorder;
    bool recording = true;
};
