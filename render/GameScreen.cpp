// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "render/GameScreen.h"

#include "model/GameObject.h"
#include "model/Shadow.h"
#include "model/Swing.h"
#include "render/DeviceContext.h"
#include "render/Painter.h"
#include "render/SceneStyle.h"
#include "render/Translated.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

namespace {

constexpr std::size_t SwingBatch = 64;

constexpr char HintText[] = QT_TRANSLATE_NOOP("Tocklet", "ドラッグでおもりを揺らそう");
constexpr char HintRuleText[] =
    QT_TRANSLATE_NOOP("Tocklet", "影に触れたおもりは消える　全部消えたらゲームオーバー");
constexpr char HintPlayKeysText[] =
    QT_TRANSLATE_NOOP("Tocklet", "キーでも：矢印で狙い Enterで支点 矢印で運び Enterで放す");
constexpr char HintKeysText[] =
    QT_TRANSLATE_NOOP("Tocklet", "Esc:タイトルへ　P:一時停止　M:音　F1:バージョン情報");
// The four lines of the hint, from the middle of the field: all within the banner's band,
// which covers them during a pause.
constexpr int HintTop = -30;
constexpr int HintBottom = -10;
constexpr int HintRuleTop = -10;
constexpr int HintRuleBottom = 3;
constexpr int HintPlayKeysTop = 3;
constexpr int HintPlayKeysBottom = 16;
constexpr int HintKeysTop = 16;
constexpr int HintKeysBottom = 29;
// A notice across the field, under the banner's band.
constexpr int NoticeTop = 36;
constexpr int NoticeBottom = 58;
// The crosshair's arms, each this long from its centre.
constexpr int CrosshairArm = 8;
// The outline of a shadow that cannot swallow yet brightens from the hint's grey to the outline
// grey of a shadow that can.
constexpr int ArrivingGreyFirst = 0x50;
constexpr int ArrivingGreyLast = 0x8C;

} // namespace

GameScreen::GameScreen() = default;

GameScreen::~GameScreen() = default;

void GameScreen::Draw(DeviceContext& dc, const std::string& text)
{
    // The game thread may clear the flag meanwhile; one paint shows one scene.
    const bool playScene = IsPlaying();
    DrawBackground(dc, SceneStyle::Black);
    if (!playScene && IsShowingRecords()) {
        DrawRecords(dc);
    } else if (!playScene) {
        DrawTitlePanel(dc);
        DrawTitleButtons(dc, SceneStyle::ButtonSize);
        DrawStatusText(dc, false);
    } else {
        DrawPlayScene(dc, text);
    }
    DrawSoundNotice(dc);
}

void GameScreen::DrawPlayScene(DeviceContext& dc, const std::string& text)
{
    if (hintShown)
        DrawHint(dc);
    DrawSwings(dc);
    DrawObstacles(dc);
    std::optional<Point> replayAt;
    std::string notice;
    {
        const std::lock_guard<std::mutex> guard(replayLock);
        replayAt = replayPointer;
        notice = fieldNotice;
    }
    if (replaying && replayAt)
        DrawCrosshair(dc, *replayAt);
    else if (!replaying && crosshairShown)
        DrawCrosshair(dc, crosshair);
    DrawStatusText(dc, true);
    DrawBanner(dc, text, SceneStyle::BannerSize, SceneStyle::White);
    if (!notice.empty()) {
        const int mid = (areaRect.top + areaRect.bottom) / 2;
        Painter(dc).DrawLabel(areaRect.left, mid + NoticeTop, areaRect.right, mid + NoticeBottom, notice,
                              SceneStyle::StatusSize, SceneStyle::White);
    }
    DrawStopButton(dc, SceneStyle::ButtonSize);
}

void GameScreen::SetArea(int left, int top, int right, int bottom)
{
    Screen::SetArea(left, top, right, bottom);
    world.SetArea(areaRect);
}

void GameScreen::ResetGame()
{
    world.ResetGame();
}

void GameScreen::Tick()
{
    world.Tick();
}

bool GameScreen::HasBegun()
{
    return world.HasBegun();
}

bool GameScreen::IsGameOver()
{
    return world.IsGameOver();
}

bool GameScreen::IsFinished()
{
    return world.IsFinished();
}

int GameScreen::GetScore()
{
    return world.GetHungCount();
}

void GameScreen::SetStatusText(std::string text)
{
    Screen::SetStatusText(std::move(text));
}

void GameScreen::SetPlaying(bool value)
{
    Screen::SetPlaying(value);
}

Rect GameScreen::GetAreaRect() const
{
    return areaRect;
}

void GameScreen::NotePause(bool paused)
{
    world.NotePause(paused);
}

std::unique_ptr<Replay> GameScreen::TakeReplay()
{
    return world.TakeReplay();
}

void GameScreen::BeginGame()
{
    // The game loop resets the world again as it starts; this reset keeps the last game's
    // swings out of the frames before that.
    world.SetRecording(true);
    world.ResetGame();
    SetStatusText("");
    SetTitleResultText("", false);
    hintShown = true;
    replaying = false;
    SetReplayPointer(std::nullopt);
    SetFieldNotice("");
    crosshair = Point{(areaRect.left + areaRect.right) / 2, (areaRect.top + areaRect.bottom) / 2};
    focusedButton = TitleButton::Start;
}

void GameScreen::BeginReplay()
{
    world.SetRecording(false);
    world.ResetGame();
    SetStatusText("");
    hintShown = false;
    replaying = true;
    crosshairShown = false;
    SetReplayPointer(std::nullopt);
    SetFieldNotice("");
}

void GameScreen::EndReplay()
{
    SetPlaying(false);
    SetStatusText("");
    SetFieldNotice("");
    SetReplayPointer(std::nullopt);
}

void GameScreen::SetReplayPointer(std::optional<Point> point)
{
    const std::lock_guard<std::mutex> guard(replayLock);
    replayPointer = point;
}

void GameScreen::SetFieldNotice(std::string text)
{
    const std::lock_guard<std::mutex> guard(replayLock);
    fieldNotice = std::move(text);
}

std::string GameScreen::GetFieldNotice() const
{
    const std::lock_guard<std::mutex> guard(replayLock);
    return fieldNotice;
}

void GameScreen::BeginSwing(int x, int y)
{
    world.BeginSwing(x, y);
    hintShown = false;
}

void GameScreen::DragSwing(int x, int y)
{
    world.DragSwing(x, y);
}

void GameScreen::ReleaseSwing(int x, int y)
{
    world.ReleaseSwing(x, y);
}

void GameScreen::DropSwing()
{
    world.DropSwing();
}

void GameScreen::DrawHint(DeviceContext& dc)
{
    const int mid = (areaRect.top + areaRect.bottom) / 2;
    Painter painter(dc);
    painter.DrawLabel(areaRect.left, mid + HintTop, areaRect.right, mid + HintBottom,
                      Translated(TextContext, HintText), SceneStyle::HintSize, SceneStyle::HintGrey);
    painter.DrawLabel(areaRect.left, mid + HintRuleTop, areaRect.right, mid + HintRuleBottom,
                      Translated(TextContext, HintRuleText), SceneStyle::HintKeysSize, SceneStyle::HintGrey);
    painter.DrawLabel(areaRect.left, mid + HintPlayKeysTop, areaRect.right, mid + HintPlayKeysBottom,
                      Translated(TextContext, HintPlayKeysText), SceneStyle::HintKeysSize,
                      SceneStyle::HintGrey);
    painter.DrawLabel(areaRect.left, mid + HintKeysTop, areaRect.right, mid + HintKeysBottom,
                      Translated(TextContext, HintKeysText), SceneStyle::HintKeysSize, SceneStyle::HintGrey);
}

std::string GameScreen::GetHintText()
{
    std::string text;
    for (const char* line : {HintText, HintRuleText, HintPlayKeysText, HintKeysText})
        text += Translated(TextContext, line) + "\n";
    return text;
}

void GameScreen::DrawSwings(DeviceContext& dc)
{
    // Fetched a batch at a time under one lock, and held while drawn: a reset on the game
    // thread cannot delete a swing under the painting. The count is read again for every batch.
    std::array<std::shared_ptr<Swing>, SwingBatch> batch;
    for (int i = 0; i < world.GetSwingCount();) {
        const int fetched = world.swings.GetRange(i, batch);
        if (fetched == 0)
            break;
        for (int k = 0; k < fetched; ++k)
            DrawSwing(dc, *batch[static_cast<std::size_t>(k)], SwingFill(i + k));
        i += fetched;
    }
}

void GameScreen::DrawObstacles(DeviceContext& dc)
{
    const int harmlessTicks = world.rule.harmlessTicks;
    for (int i = 0; i < world.GetObstacleCount(); ++i) {
        const std::shared_ptr<GameObject> obstacle = world.obstacles.GetAt(i);
        if (!obstacle)
            continue;
        const auto* shadow = dynamic_cast<const Shadow*>(obstacle.get());
        if (shadow && shadow->IsHarmless(harmlessTicks))
            DrawArrivingShadow(dc, *shadow, harmlessTicks);
        else
            DrawObject(dc, *obstacle);
    }
}

void GameScreen::DrawCrosshair(DeviceContext& dc, Point at)
{
    Painter painter(dc);
    painter.DrawLine(at.x - CrosshairArm, at.y, at.x + CrosshairArm + 1, at.y, SceneStyle::HoverPink, 1);
    painter.DrawLine(at.x, at.y - CrosshairArm, at.x, at.y + CrosshairArm + 1, SceneStyle::HoverPink, 1);
}

ColorRef GameScreen::SwingFill(int index)
{
    const int grey = 255 - index % 10 * 20;
    return static_cast<ColorRef>(grey) * 0x010101u;
}

void GameScreen::DrawSwing(DeviceContext& dc, const Swing& swing, ColorRef fillColour)
{
    if (!swing.alive)
        return;
    Painter painter(dc);
    const Point weight = swing.GetPoint();
    painter.DrawLine(swing.anchorX, swing.anchorY, weight.x, weight.y, SceneStyle::NearWhite, 1);
    const Rect box = swing.GetRect();
    painter.DrawEllipse(box.left, box.top, box.right, box.bottom, SceneStyle::NearWhite, fillColour);
}

void GameScreen::DrawArrivingShadow(DeviceContext& dc, const Shadow& shadow, int harmlessTicks)
{
    const int age = std::clamp<int>(shadow.ageTicks, 0, harmlessTicks);
    const int grey = harmlessTicks > 0
                         ? ArrivingGreyFirst + (ArrivingGreyLast - ArrivingGreyFirst) * age / harmlessTicks
                         : ArrivingGreyLast;
    const Rect box = shadow.GetRect();
    Painter(dc).DrawRing(box.left, box.top, box.right, box.bottom, static_cast<ColorRef>(grey) * 0x010101u);
}

void GameScreen::DrawObject(DeviceContext& dc, const GameObject& object)
{
    const Rect box = object.GetRect();
    Painter(dc).DrawEllipse(box.left, box.top, box.right, box.bottom, SceneStyle::MidGrey,
                            SceneStyle::DarkGrey);
}
