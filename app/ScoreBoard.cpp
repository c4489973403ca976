// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/ScoreBoard.h"

#include "base/SecondsText.h"
#include "render/Screen.h"

#include <QCoreApplication>

#include <algorithm>
#include <iostream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// The records view shows the table's places, one row each.
static_assert(Screen::RecordCount == ScoreTable::Count);

ScoreBoard::ScoreBoard(ScoreTable& table, std::function<void()> kept)
    : keeper(table, [this, kept = std::move(kept)](const ScoreTable& table, bool saved) {
        // A re-read that fails is worth no line: the file is left alone, and the next save says so.
        if (saved)
            ReportTableProblems(table, std::cerr, false);
        FindReplays(table);
        kept();
    })
{
}

void ScoreBoard::Finish()
{
    keeper.Finish();
}

void ScoreBoard::Refresh()
{
    keeper.Refresh();
}

bool ScoreBoard::IsSoundOn() const
{
    return keeper.GetView().soundOn;
}

void ScoreBoard::SaveSound(bool on)
{
    keeper.SaveSound(on);
}

int ScoreBoard::Record(double seconds, int score, std::shared_ptr<const Replay> replay)
{
    // Saved now as well as at Exit, so that a record outlives whatever ends the program; the
    // table then shows what is on disk, records of other copies included.
    const ScoreTable::Game game{seconds, score};
    const int place = keeper.Record(game.time, game.score, std::move(replay));
    lastGame = LostGame{game, place == 0};
    if (place >= 0)
        lastRecorded = game;
    return place;
}

void ScoreBoard::FindReplays(const ScoreTable& table)
{
    std::vector<std::shared_ptr<const Replay>> found;
    for (int place = 0; place < ScoreTable::Count; ++place) {
        const double time = table.GetTime(place);
        const int score = table.scores[static_cast<std::size_t>(place)];
        // A replay found before is the row's as long as the row is there: its file is named
        // after the row's time and score.
        std::shared_ptr<const Replay> replay = ReplayOf(time, score);
        if (!replay)
            replay = keeper.GetReplays().Find(time, score);
        if (replay)
            found.push_back(std::move(replay));
    }
    const std::lock_guard<std::mutex> guard(replaysLock);
    rowReplays = std::move(found);
}

std::shared_ptr<const Replay> ScoreBoard::ReplayOf(double time, int score) const
{
    if (time == 0.0)
        return nullptr;
    const std::lock_guard<std::mutex> guard(replaysLock);
    for (const std::shared_ptr<const Replay>& replay : rowReplays) {
        if (replay->seconds == time && replay->score == score)
            return replay;
    }
    return nullptr;
}

std::shared_ptr<const Replay> ScoreBoard::ReplayAt(int place) const
{
    if (place < 0 || place >= ScoreTable::Count)
        return nullptr;
    const ScoreTable table = keeper.GetView();
    return ReplayOf(table.GetTime(place), table.scores[static_cast<std::size_t>(place)]);
}

QString ScoreBoard::LastGameLine() const
{
    const QString seconds = QString::fromStdString(FormatSeconds(lastGame->game.time));
    return (lastGame->newBest ? QCoreApplication::translate("MainDialog", "★新記録★　今回のタイム:%1秒")
                              : QCoreApplication::translate("MainDialog", "今回のタイム:%1秒"))
        .arg(seconds);
}

void ScoreBoard::ShowOn(Screen& screen) const
{
    const ScoreTable table = keeper.GetView();
    screen.SetTitleStatusText(QCoreApplication::translate("MainDialog", "ベストタイム:%1秒")
                                  .arg(QString::fromStdString(FormatSeconds(table.GetTime(0))))
                                  .toStdString());
    if (lastGame) {
        QString line = LastGameLine();
        const auto& unsaved = table.GetUnsaved();
        if (std::find(unsaved.begin(), unsaved.end(), lastGame->game) != unsaved.end())
            line = QCoreApplication::translate("MainDialog", "%1　※未保存").arg(line);
        screen.SetTitleResultText(line.toStdString(), lastGame->newBest);
    }
    Screen::RecordRows rows;
    int marked = -1;
    for (int place = 0; place < ScoreTable::Count; ++place) {
        auto& row = rows[static_cast<std::size_t>(place)];
        row = RecordRow{table.GetTime(place), table.scores[static_cast<std::size_t>(place)]};
        row.replay = ReplayOf(row.time, row.score) != nullptr;
        if (marked < 0 && lastRecorded && row.time == lastRecorded->time && row.score == lastRecorded->score)
            marked = place;
    }
    screen.SetRecords(rows, marked);
}

void ReportTableProblems(const ScoreTable& table, std::ostream& errors, bool atExit)
{
    if (table.GetLastError().empty())
        return;
    errors << "tocklet: " << table.GetLastError();
    std::vector<std::string> left;
    for (const ScoreTable::Game& game : table.GetUnsaved())
        left.push_back(FormatSeconds(game.time) + " s");
    if (const std::optional<bool> sound = table.GetUnsavedSound())
        left.emplace_back(*sound ? "sound on" : "sound off");
    if (!left.empty()) {
        errors << (atExit ? "; lost: " : "; kept to be saved again: ");
        for (std::size_t i = 0; i < left.size(); ++i)
            errors << (i == 0 ? "" : ", ") << left[i];
    }
    errors << '\n';
}
