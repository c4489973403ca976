// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "render/Colour.h"
#include "threads/LockedString.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

class DeviceContext;
class QPainter;

// One place of the score table as the records view shows it; a time of 0 is an empty place.
struct RecordRow {
    double time = 0.0;
    int score = 0;
};

// The drawing surface of the main window: its layout, the hover state of the drawn buttons,
// the playing flag that picks the title screen or the play scene, the title and status texts,
// and the two off-screen buffers that Paint draws through. Everything but the status text and
// the playing flag belongs to the window's thread.
class Screen {
public:
    static constexpr int RecordCount = 5;
    // The drawn buttons of the title, top to bottom: the order the keys move the focus in.
    enum class TitleButton { Read, Start, Exit };
    using RecordRows = std::array<RecordRow, RecordCount>;

    Screen();
    virtual ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Draws the whole scene into dc; text is the message text handed to Paint.
    virtual void Draw(DeviceContext& dc, const std::string& text) = 0;
    virtual void SetArea(int left, int top, int right, int bottom);

    void ResetScreen();
    void SetTitleText(std::string text);
    const std::string& GetTitleText() const { return titleText; }
    // The status line of the title screen. The title never shows the status text, which the
    // game thread may still write after the return to the title.
    void SetTitleStatusText(std::string text);
    const std::string& GetTitleStatusText() const { return titleStatusText; }
    // A line under it on the title after a lost game: that game's time, in pink when it was a
    // new best. Empty for none.
    void SetTitleResultText(std::string text, bool newBest);
    const std::string& GetTitleResultText() const { return titleResultText; }
    // The places of the score table, best first, for the records view; marked is the place of
    // the last game recorded in this run, shown in pink, or -1.
    void SetRecords(const RecordRows& rows, int marked);
    // What a screen reader reads of the records view.
    const RecordRows& GetRecords() const { return records; }
    int GetMarkedRecord() const { return markedRecord; }
    // Where the records view draws the row of a place.
    Rect GetRecordRect(int place) const;
    // The records view in place of the title screen: shown on the title only.
    void ShowRecords(bool show) { showingRecords = show; }
    bool IsShowingRecords() const { return showingRecords; }
    // "Sound on" or "Sound off" at the status corner on every screen; empty for neither.
    void SetSoundNotice(std::optional<bool> soundOn) { soundNotice = soundOn; }
    std::optional<bool> GetSoundNotice() const { return soundNotice; }
    // Both may be called from any thread; only the play scene shows the status text.
    void SetStatusText(std::string text);
    std::string GetStatusText() const;

    bool HitStart(Point pt) const;
    bool HitStop(Point pt) const;
    bool HitExit(Point pt) const;
    bool HitRead(Point pt) const;
    // Returns true when any hover flag changed.
    bool UpdateHover(Point pt);
    // Moves the keyboard focus step buttons on, round the ends, and shows it from then on.
    void MoveFocus(int step);
    const Rect& GetButtonRect(TitleButton button) const;

    // The game thread clears the flag at the end of its end-of-game display.
    bool IsPlaying() const { return playing.load(); }
    void SetPlaying(bool value) { playing.store(value); }

    // Draws the scene into the back buffer, copies areaRect of it to the same place on target,
    // then, while playing, lays the Stop button over it from the button buffer. The buffers
    // are sized from areaRect and stopRect at the first paint, at the device pixel ratio of
    // target, and kept from then on unless that ratio changes.
    void Paint(QPainter& target, const std::string& messageText);

    void DrawBackground(DeviceContext& dc, ColorRef colour);
    void DrawTitlePanel(DeviceContext& dc);
    void DrawTitleButtons(DeviceContext& dc, int size);
    void DrawBanner(DeviceContext& dc, const std::string& text, int size, ColorRef colour);
    void DrawStopButton(DeviceContext& dc, int size);
    // The records view: a heading in the title's panel, then a row for each place with its
    // rank, time and score, and how to go back.
    void DrawRecords(DeviceContext& dc);
    // The title's status line under the Exit button on the title screen, the status text at
    // the top-left corner during play.
    void DrawStatusText(DeviceContext& dc, bool playScene);
    // The sound notice, on the line under the play scene's status text.
    void DrawSoundNotice(DeviceContext& dc);

    // Null before the first paint.
    const DeviceContext* GetBackBuffer() const { return backDC.get(); }
    const DeviceContext* GetButtonBuffer() const { return buttonDC.get(); }

    Rect areaRect;
    Rect titleRect;
    Rect startRect;
    Rect stopRect;
    Rect exitRect;
    Rect readRect;
    bool startHover = false;
    bool stopHover = false;
    bool exitHover = false;
    bool readHover = false;
    // The title button a key presses; its ring shows only once a key has moved it, so that a
    // mouse player's title stays as it was.
    TitleButton focusedButton = TitleButton::Start;
    bool focusShown = false;
    // The row of the records view that the keys move among: 0 to RecordCount - 1.
    int focusedRecord = 0;

protected:
    std::string titleText;
    std::string titleStatusText;
    std::string titleResultText;
    bool titleResultIsBest = false;
    RecordRows records{};
    int markedRecord = -1;
    bool showingRecords = false;
    std::optional<bool> soundNotice;

private:
    std::atomic<bool> playing{false};
    bool recreateBackBuffer = true;
    bool recreateButtonBuffer = true;
    std::unique_ptr<DeviceContext> backDC;
    std::unique_ptr<DeviceContext> buttonDC;
    LockedString statusText;
};
