// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/ReaderWords.h"

#include <gtest/gtest.h>

namespace {

const Rect Area{0, 0, 449, 407};

} // namespace

// The field in three by three cells, each border pixel in the cell a player would name.
TEST(ReaderWords, PlacesOnTheFieldAreCellsOfThreeByThree)
{
    const struct {
        Point point;
        const char* place;
    } cases[] = {
        {{0, 0}, "左上"},   {{149, 135}, "左上"}, {{150, 135}, "上"}, {{299, 0}, "上"},
        {{300, 0}, "右上"}, {{448, 0}, "右上"},   {{0, 136}, "左"},   {{224, 203}, "中央"},
        {{448, 271}, "右"}, {{0, 272}, "左下"},   {{224, 406}, "下"}, {{448, 406}, "右下"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << ", " << c.point.y);
        EXPECT_EQ(ReaderWords::PlaceOnField(c.point, Area), QString(c.place));
    }
}

TEST(ReaderWords, EachKeyStepSaysWhatItDidAndWhere)
{
    using Step = PlayInput::KeyStep;
    const struct {
        Step step;
        Point aim;
        const char* words;
    } cases[] = {
        {Step::Aimed, {224, 203}, "中央"},
        {Step::Aimed, {224, 406}, "下、端"},
        {Step::Anchored, {10, 10}, "支点　左上"},
        {Step::Carried, {400, 380}, "右下　ロープ42"},
        {Step::Released, {400, 380}, "放した　ロープ42"},
        {Step::Dropped, {400, 380}, "落とした"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        EXPECT_EQ(ReaderWords::Step(c.step, c.aim, Area, 42), QString(c.words));
    }
}

// A best time of 0 is no record yet, not a time of 0.0 s.
TEST(ReaderWords, TitleStatusTellsNoRecordAndTheLastGame)
{
    EXPECT_EQ(ReaderWords::TitleStatus(0.0, "ベストタイム:0.0秒", ""), "ベストタイム：記録なし");
    EXPECT_EQ(ReaderWords::TitleStatus(12.5, "ベストタイム:12.5秒", "今回のタイム:3.0秒"),
              "ベストタイム:12.5秒　今回のタイム:3.0秒");
    EXPECT_EQ(ReaderWords::GameOver("今回のタイム:3.0秒", 1), "GameOver!! 今回のタイム:3.0秒　記録2位");
    EXPECT_EQ(ReaderWords::GameOver("今回のタイム:3.0秒", -1), "GameOver!! 今回のタイム:3.0秒");
}
