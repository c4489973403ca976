// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "render/Screen.h"

#include "base/SecondsText.h"
#include "render/DeviceContext.h"
#include "render/Painter.h"
#include "render/SceneStyle.h"
#include "render/Translated.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// Copies rect (logical pixels) of source to the same place on target, device pixel for device
// pixel when target has the source's device pixel ratio.
void CopyBlock(QPainter& target, DeviceContext& source, const Rect& rect)
{
    if (IsRectEmpty(rect))
        return;
    const QImage& image = source.Image();
    if (source.Scale() == 1.0) {
        target.drawImage(QPoint(rect.left, rect.top), image,
                         QRect(rect.left, rect.top, rect.Width(), rect.Height()));
        return;
    }
    const int left = source.ToDevice(rect.left);
    const int top = source.ToDevice(rect.top);
    const QRect from(left, top, source.ToDevice(rect.right) - left, source.ToDevice(rect.bottom) - top);
    target.drawImage(QRectF(rect.left, rect.top, rect.Width(), rect.Height()), image, QRectF(from));
}

// The device pixel ratio of what target paints on.
qreal ScaleOf(const QPainter& target)
{
    const QPaintDevice* device = target.device();
    return device ? std::max<qreal>(device->devicePixelRatio(), 1.0) : 1.0;
}

// Where the time text sits during play: a line at the field's top-left corner.
constexpr int StatusInsetX = 8;
constexpr int StatusInsetY = 6;
constexpr int StatusLineHeight = 20;
// The title's two lines under the Exit button when a game's result shows.
constexpr int TitleLinesTop = 10;
constexpr int TitleLineHeight = 24;

// The records view: a row of column names under the panel, the five places, how to go back.
constexpr char RecordsHeading[] = QT_TRANSLATE_NOOP("Tocklet", "記録");
constexpr char RankHeading[] = QT_TRANSLATE_NOOP("Tocklet", "順位");
constexpr char TimeHeading[] = QT_TRANSLATE_NOOP("Tocklet", "タイム");
constexpr char ScoreHeading[] = QT_TRANSLATE_NOOP("Tocklet", "スコア");
constexpr char RecordTime[] = QT_TRANSLATE_NOOP("Tocklet", "%1秒");
constexpr char EmptyPlace[] = QT_TRANSLATE_NOOP("Tocklet", "（空き）");
constexpr char RecordsWatch[] = QT_TRANSLATE_NOOP("Tocklet", "↑↓で選び Enter・クリックで▶を再生");
constexpr char RecordsBack[] = QT_TRANSLATE_NOOP("Tocklet", "Esc・R・行の外をクリックでタイトルへ");
constexpr char SoundOnText[] = QT_TRANSLATE_NOOP("Tocklet", "サウンド オン");
constexpr char SoundOffText[] = QT_TRANSLATE_NOOP("Tocklet", "サウンド オフ");
constexpr int RecordsHeadingTop = 146;
constexpr int RecordsHeadingBottom = 168;
constexpr int RecordsRowTop = 170;
constexpr int RecordsRowHeight = 36;
constexpr int RecordsWatchTop = 353;
constexpr int RecordsBackTop = 375;
constexpr int RecordsLineHeight = 22;
// The columns of rank, time and score under the panel, which they span.
constexpr int RankRight = 163;
constexpr int TimeRight = 283;
// The last game's row is marked left of the panel as well as pink.
constexpr int RecordMarkWidth = 40;
constexpr char RecordMark[] = "★";
// A row whose game can be watched again is marked right of the panel.
constexpr char ReplayMark[] = "▶";
// The row the keys pick: a frame round the marks and the panel's columns.
constexpr int SelectionInset = 3;
// The keyboard focus: a ring around the button, clear of its frame and of the hover's fill.
constexpr int FocusGap = 4;
constexpr int FocusWidth = 2;
constexpr int TitleButtonCount = static_cast<int>(TitleButtons.size());

std::size_t IndexOf(TitleButton button)
{
    return static_cast<std::size_t>(button);
}

} // namespace

Screen::Screen()
{
    ResetScreen();
}

Screen::~Screen() = default;

void Screen::SetArea(int left, int top, int right, int bottom)
{
    SetRect(areaRect, left, top, right, bottom);
}

void Screen::ResetScreen()
{
    SetRectEmpty(areaRect);
    SetRectEmpty(titleRect);
    SetRectEmpty(stopRect);
    buttonRects = {};
    titleText.clear();
    titleStatusText.clear();
    titleResultText.clear();
    titleResultIsBest = false;
    records = {};
    markedRecord = -1;
    selectedRecord = 0;
    showingRecords = false;
    stopHover = false;
    buttonHover = {};
    focusedButton = TitleButton::Start;
    focusShown = false;
    SetStatusText("");
    SetPlaying(false);
    recreateBackBuffer = true;
    recreateButtonBuffer = true;
}

void Screen::SetTitleText(std::string text)
{
    titleText = std::move(text);
}

void Screen::SetTitleStatusText(std::string text)
{
    titleStatusText = std::move(text);
}

void Screen::SetTitleResultText(std::string text, bool newBest)
{
    titleResultText = std::move(text);
    titleResultIsBest = newBest;
}

void Screen::SetRecords(const RecordRows& rows, int marked)
{
    records = rows;
    markedRecord = marked;
}

Rect Screen::GetRecordRect(int place) const
{
    const int top = RecordsRowTop + place * RecordsRowHeight;
    return Rect{areaRect.left, top, areaRect.right, top + RecordsRowHeight};
}

std::optional<int> Screen::RecordAt(Point pt) const
{
    for (int place = 0; place < RecordCount; ++place) {
        if (records[static_cast<std::size_t>(place)].time != 0.0 && PtInRect(GetRecordRect(place), pt))
            return place;
    }
    return std::nullopt;
}

void Screen::SelectRecord(int step)
{
    int place = selectedRecord;
    for (int next = place + step; next >= 0 && next < RecordCount; next += step) {
        if (records[static_cast<std::size_t>(next)].time != 0.0) {
            place = next;
            break;
        }
    }
    selectedRecord = place;
}

void Screen::ShowRecords(bool show)
{
    if (show && !showingRecords)
        selectedRecord = 0;
    showingRecords = show;
}

void Screen::SetStatusText(std::string text)
{
    statusText.Set(std::move(text));
}

std::string Screen::GetStatusText() const
{
    return statusText.Get();
}

void Screen::LayOutTitle()
{
    SetArea(ClientArea.left, ClientArea.top, ClientArea.right, ClientArea.bottom);
    titleRect = TitlePanel;
    for (const TitleButtonRow& row : TitleButtons)
        SetButtonRect(row.button, row.rect);
}

std::optional<TitleButton> Screen::ButtonAt(Point pt) const
{
    for (const TitleButtonRow& row : TitleButtons) {
        if (PtInRect(GetButtonRect(row.button), pt))
            return row.button;
    }
    return std::nullopt;
}

bool Screen::HitStop(Point pt) const
{
    return PtInRect(stopRect, pt);
}

bool Screen::UpdateHover(Point pt)
{
    bool changed = false;
    const auto update = [&changed](bool& flag, bool hit) {
        if (flag != hit)
            changed = true;
        flag = hit;
    };
    update(stopHover, HitStop(pt));
    for (const TitleButtonRow& row : TitleButtons)
        update(buttonHover[IndexOf(row.button)], PtInRect(GetButtonRect(row.button), pt));
    return changed;
}

void Screen::MoveFocus(int step)
{
    const int index =
        (static_cast<int>(focusedButton) + step % TitleButtonCount + TitleButtonCount) % TitleButtonCount;
    focusedButton = static_cast<TitleButton>(index);
    focusShown = true;
}

const Rect& Screen::GetButtonRect(TitleButton button) const
{
    return buttonRects[IndexOf(button)];
}

void Screen::SetButtonRect(TitleButton button, const Rect& rect)
{
    buttonRects[IndexOf(button)] = rect;
}

bool Screen::IsHovered(TitleButton button) const
{
    return buttonHover[IndexOf(button)];
}

void Screen::Paint(QPainter& target, const std::string& messageText)
{
    // A window moved to a screen of another device pixel ratio needs buffers at the new one.
    const qreal scale = ScaleOf(target);
    if (recreateBackBuffer || backDC->Scale() != scale) {
        backDC = std::make_unique<DeviceContext>(areaRect.right, areaRect.bottom, scale);
        recreateBackBuffer = false;
    }
    if (recreateButtonBuffer || buttonDC->Scale() != scale) {
        buttonDC = std::make_unique<DeviceContext>(stopRect.right, stopRect.bottom, scale);
        recreateButtonBuffer = false;
    }
    Draw(*backDC, messageText);
    CopyBlock(target, *backDC, areaRect);
    if (IsPlaying()) {
        DrawStopButton(*buttonDC, SceneStyle::ButtonSize);
        CopyBlock(target, *buttonDC, stopRect);
    }
}

void Screen::DrawBackground(DeviceContext& dc, ColorRef colour)
{
    Painter(dc).DrawRectangle(areaRect.left, areaRect.top, areaRect.right, areaRect.bottom, colour, colour);
}

void Screen::DrawTitlePanel(DeviceContext& dc)
{
    Painter painter(dc);
    painter.DrawRectangle(titleRect.left, titleRect.top, titleRect.right, titleRect.bottom,
                          SceneStyle::PanelPink, SceneStyle::PanelPink);
    painter.DrawLabel(titleRect.left, titleRect.top, titleRect.right, titleRect.bottom, titleText,
                      SceneStyle::TitleSize, SceneStyle::DeepBlue);
}

void Screen::DrawTitleButtons(DeviceContext& dc, int size)
{
    Painter painter(dc);
    for (const TitleButtonRow& button : TitleButtons) {
        const Rect& r = GetButtonRect(button.button);
        if (IsHovered(button.button))
            painter.DrawRectangle(r.left, r.top, r.right, r.bottom, SceneStyle::MidGrey,
                                  SceneStyle::HoverPink);
        else
            painter.DrawFrame(r.left, r.top, r.right, r.bottom, SceneStyle::NearWhite, 1);
        painter.DrawLabel(r.left, r.top, r.right, r.bottom, button.caption, size, SceneStyle::DeepBlue);
    }
    if (focusShown) {
        const Rect& r = GetButtonRect(focusedButton);
        painter.DrawFrame(r.left - FocusGap, r.top - FocusGap, r.right + FocusGap, r.bottom + FocusGap,
                          SceneStyle::NearWhite, FocusWidth);
    }
}

void Screen::DrawBanner(DeviceContext& dc, const std::string& text, int size, ColorRef colour)
{
    const int mid = (areaRect.top + areaRect.bottom) / 2;
    Painter painter(dc);
    if (!text.empty())
        painter.DrawRectangle(areaRect.left + 10, mid - 30, areaRect.right - 10, mid + 30,
                              SceneStyle::MidGrey, SceneStyle::BannerBlue);
    painter.DrawLabel(areaRect.left, areaRect.top, areaRect.right, areaRect.bottom, text, size, colour);
}

void Screen::DrawStopButton(DeviceContext& dc, int size)
{
    Painter painter(dc);
    painter.DrawRectangle(stopRect.left, stopRect.top, stopRect.right, stopRect.bottom, SceneStyle::DarkGrey,
                          stopHover ? SceneStyle::HoverPink : SceneStyle::NearWhite);
    painter.DrawLabel(stopRect.left, stopRect.top, stopRect.right, stopRect.bottom, "Stop", size,
                      SceneStyle::DeepBlue);
}

void Screen::DrawStatusText(DeviceContext& dc, bool playScene)
{
    Painter painter(dc);
    if (playScene) {
        painter.DrawLeftLabel(areaRect.left + StatusInsetX, areaRect.top + StatusInsetY,
                              areaRect.right - StatusInsetX, areaRect.top + StatusInsetY + StatusLineHeight,
                              GetStatusText(), SceneStyle::StatusSize, SceneStyle::NearWhite);
    } else if (titleResultText.empty()) {
        painter.DrawLabel(areaRect.left, GetButtonRect(TitleButton::Exit).bottom, areaRect.right,
                          areaRect.bottom, titleStatusText, SceneStyle::StatusSize, SceneStyle::NearWhite);
    } else {
        const int top = GetButtonRect(TitleButton::Exit).bottom + TitleLinesTop;
        painter.DrawLabel(areaRect.left, top, areaRect.right, top + TitleLineHeight, titleStatusText,
                          SceneStyle::StatusSize, SceneStyle::NearWhite);
        painter.DrawLabel(areaRect.left, top + TitleLineHeight, areaRect.right, top + 2 * TitleLineHeight,
                          titleResultText, SceneStyle::StatusSize,
                          titleResultIsBest ? SceneStyle::HoverPink : SceneStyle::NearWhite);
    }
}

void Screen::DrawSoundNotice(DeviceContext& dc)
{
    if (!soundNotice)
        return;
    const int top = areaRect.top + StatusInsetY + StatusLineHeight;
    Painter(dc).DrawLeftLabel(areaRect.left + StatusInsetX, top, areaRect.right - StatusInsetX,
                              top + StatusLineHeight,
                              Translated(TextContext, *soundNotice ? SoundOnText : SoundOffText),
                              SceneStyle::StatusSize, SceneStyle::NearWhite);
}

void Screen::DrawRecords(DeviceContext& dc)
{
    Painter painter(dc);
    const Rect& panel = titleRect;
    painter.DrawRectangle(panel.left, panel.top, panel.right, panel.bottom, SceneStyle::PanelPink,
                          SceneStyle::PanelPink);
    painter.DrawLabel(panel.left, panel.top, panel.right, panel.bottom,
                      Translated(TextContext, RecordsHeading), SceneStyle::TitleSize, SceneStyle::DeepBlue);
    const auto columns = [&](int top, int bottom, const std::string& rank, const std::string& time,
                             const std::string& score, int size, ColorRef colour) {
        painter.DrawLabel(panel.left, top, RankRight, bottom, rank, size, colour);
        painter.DrawLabel(RankRight, top, TimeRight, bottom, time, size, colour);
        painter.DrawLabel(TimeRight, top, panel.right, bottom, score, size, colour);
    };
    columns(RecordsHeadingTop, RecordsHeadingBottom, Translated(TextContext, RankHeading),
            Translated(TextContext, TimeHeading), Translated(TextContext, ScoreHeading),
            SceneStyle::StatusSize, SceneStyle::MidGrey);
    for (int place = 0; place < RecordCount; ++place) {
        const RecordRow& row = records[static_cast<std::size_t>(place)];
        const int top = RecordsRowTop + place * RecordsRowHeight;
        const int bottom = top + RecordsRowHeight;
        const std::string rank = std::to_string(place + 1);
        // A place no game has taken yet.
        if (row.time == 0.0) {
            painter.DrawLabel(panel.left, top, RankRight, bottom, rank, SceneStyle::ButtonSize,
                              SceneStyle::MidGrey);
            painter.DrawLabel(RankRight, top, panel.right, bottom, Translated(TextContext, EmptyPlace),
                              SceneStyle::ButtonSize, SceneStyle::MidGrey);
            continue;
        }
        const ColorRef colour = place == markedRecord ? SceneStyle::HoverPink : SceneStyle::NearWhite;
        if (place == markedRecord)
            painter.DrawLabel(panel.left - RecordMarkWidth, top, panel.left, bottom, RecordMark,
                              SceneStyle::ButtonSize, colour);
        if (row.replay)
            painter.DrawLabel(panel.right, top, panel.right + RecordMarkWidth, bottom, ReplayMark,
                              SceneStyle::ButtonSize, colour);
        if (place == selectedRecord)
            painter.DrawFrame(panel.left - RecordMarkWidth, top + SelectionInset,
                              panel.right + RecordMarkWidth, bottom - SelectionInset, SceneStyle::MidGrey, 1);
        columns(top, bottom, rank, Translated(TextContext, RecordTime, FormatSeconds(row.time)),
                std::to_string(row.score), SceneStyle::ButtonSize, colour);
    }
    painter.DrawLabel(areaRect.left, RecordsWatchTop, areaRect.right, RecordsWatchTop + RecordsLineHeight,
                      Translated(TextContext, RecordsWatch), SceneStyle::StatusSize, SceneStyle::MidGrey);
    painter.DrawLabel(areaRect.left, RecordsBackTop, areaRect.right, RecordsBackTop + RecordsLineHeight,
                      Translated(TextContext, RecordsBack), SceneStyle::StatusSize, SceneStyle::MidGrey);
}
