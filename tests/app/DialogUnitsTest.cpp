// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DialogUnits.h"

#include <gtest/gtest.h>

TEST(DialogUnits, ConvertToPixelsRoundingHalvesUp)
{
    struct Case {
        int units;
        int pixels;
    };
    // Both base units give 1.5 pixels per dialog unit.
    for (const Case c : {Case{0, 0}, Case{1, 2}, Case{2, 3}, Case{3, 5}, Case{55, 83}, Case{235, 353},
                         Case{-1, -1}, Case{-2, -3}, Case{-3, -4}}) {
        EXPECT_EQ(DialogUnitsToPixelsX(c.units), c.pixels) << c.units;
        EXPECT_EQ(DialogUnitsToPixelsY(c.units), c.pixels) << c.units;
    }
}

TEST(DialogUnits, ConvertEachEdgeOfARectangleOnItsOwn)
{
    // Edges at 11 and 31 units round to 17 and 47: 30 pixels wide, although 20 units are 30.
    EXPECT_EQ(DialogUnitsToRect(11, 17, 20, 20), QRect(17, 26, 30, 30));
    // Edges at 40 and 159 units: 60 and 239, one pixel wider than 119 units alone would give.
    EXPECT_EQ(DialogUnitsToRect(40, 10, 119, 8), QRect(60, 15, 179, 12));
}
