// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/ReaderWords.h"

#include "base/SecondsText.h"
#include "render/Translated.h"

#include <algorithm>
#include <array>

namespace {

// Rows top to bottom, each left to right.
constexpr std::array<std::array<const char*, 3>, 3> Places = {{
    {QT_TRANSLATE_NOOP("ReaderWords", "左上"), QT_TRANSLATE_NOOP("ReaderWords", "上"),
     QT_TRANSLATE_NOOP("ReaderWords", "右上")},
    {QT_TRANSLATE_NOOP("ReaderWords", "左"), QT_TRANSLATE_NOOP("ReaderWords", "中央"),
     QT_TRANSLATE_NOOP("ReaderWords", "右")},
    {QT_TRANSLATE_NOOP("ReaderWords", "左下"), QT_TRANSLATE_NOOP("ReaderWords", "下"),
     QT_TRANSLATE_NOOP("ReaderWords", "右下")},
}};

// The sound notice's own words, as the screen shows them.
constexpr char SoundOnText[] = QT_TRANSLATE_NOOP("Tocklet", "サウンド オン");
constexpr char SoundOffText[] = QT_TRANSLATE_NOOP("Tocklet", "サウンド オフ");
// The records view's own line.
constexpr char RecordsBackText[] = QT_TRANSLATE_NOOP("Tocklet", "Esc・R・行の外をクリックでタイトルへ");

// Which third of [low, high) the value falls in: 0, 1 or 2.
int Third(int value, int low, int high)
{
    const int length = std::max(high - low, 1);
    return std::clamp((value - low) * 3 / length, 0, 2);
}

} // namespace

QString ReaderWords::Field(const FieldState& state)
{
    QString text =
        tr("%1　揺れているおもり%2個、影%3個").arg(state.time).arg(state.swinging).arg(state.shadows);
    if (state.carried > 0)
        text += tr("、運んでいるおもり%1個").arg(state.carried);
    if (state.nearestShadow)
        text += tr("、いちばん近い影はおもりまで%1ピクセル").arg(*state.nearestShadow);
    return text;
}

QString ReaderWords::PlaceOnField(Point point, const Rect& area)
{
    const auto row = static_cast<std::size_t>(Third(point.y, area.top, area.bottom));
    const auto column = static_cast<std::size_t>(Third(point.x, area.left, area.right));
    return tr(Places[row][column]);
}

QString ReaderWords::Step(PlayInput::KeyStep step, Point aim, const Rect& area, int rope)
{
    QString place = PlaceOnField(aim, area);
    if (aim.x == area.left || aim.x == area.right - 1 || aim.y == area.top || aim.y == area.bottom - 1)
        place = tr("%1、端").arg(place);
    switch (step) {
    case PlayInput::KeyStep::Aimed: return place;
    case PlayInput::KeyStep::Anchored: return tr("支点　%1").arg(place);
    case PlayInput::KeyStep::Carried: return tr("%1　ロープ%2").arg(place).arg(rope);
    case PlayInput::KeyStep::Released: return tr("放した　ロープ%1").arg(rope);
    case PlayInput::KeyStep::Dropped: return tr("落とした");
    case PlayInput::KeyStep::None: break;
    }
    return {};
}

QString ReaderWords::WeightsGone(GameEvent event, int left)
{
    return (event == GameEvent::WeightLost ? tr("おもりが場外に消えた　残り%1個")
                                           : tr("影がおもりを消した　残り%1個"))
        .arg(left);
}

QString ReaderWords::GameOver(const QString& line, int place)
{
    QString text = QStringLiteral("GameOver!! ") + line;
    if (place >= 0)
        text += tr("　記録%1位").arg(place + 1);
    return text;
}

QString ReaderWords::Pause(bool paused)
{
    return paused ? tr("一時停止") : tr("再開");
}

QString ReaderWords::Sound(bool on)
{
    return QCoreApplication::translate(TextContext, on ? SoundOnText : SoundOffText);
}

QString ReaderWords::TitleStatus(double bestTime, const QString& shownBest, const QString& lastGame)
{
    QString text = bestTime == 0.0 ? tr("ベストタイム：記録なし") : shownBest;
    if (!lastGame.isEmpty())
        text += QStringLiteral("　") + lastGame;
    return text;
}

QString ReaderWords::SpokenHint()
{
    return tr("矢印で狙い、エンターで支点、矢印で運び、エンターで放す。影をよけよう。");
}

QString ReaderWords::RecordsBack()
{
    return QCoreApplication::translate(TextContext, RecordsBackText);
}

QString ReaderWords::RowSentence(int place, const RecordRow& row, bool marked)
{
    if (row.time == 0.0)
        return tr("%1位：空き").arg(place + 1);
    QString sentence = tr("%1位：%2秒、おもり%3個")
                           .arg(place + 1)
                           .arg(QString::fromStdString(FormatSeconds(row.time)))
                           .arg(row.score);
    if (marked)
        sentence += tr("、今回の最後のゲーム");
    if (row.replay)
        sentence += tr("、リプレイあり");
    return sentence;
}
