// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/Translation.h"

#include <gtest/gtest.h>

TEST(Translation, PlaysInTheDesktopsLanguageAndJapaneseForCAndPosix)
{
    const QStringList available{"en", "pt_BR"};
    const struct {
        QStringList uiLanguages;
        const char* translation;
    } cases[] = {
        {{"ja-JP", "ja-Jpan-JP", "ja"}, ""},
        {{"C"}, ""},
        {{"POSIX"}, ""},
        {{}, ""},
        {{"en-US", "en-Latn-US", "en"}, "en"},
        {{"de-DE", "de-Latn-DE", "de"}, "en"},
        {{"pt-BR", "pt-Latn-BR", "pt"}, "pt_BR"},
        // LANGUAGE=de:ja: the first language the program speaks.
        {{"de", "de-Latn-DE", "de-DE", "ja", "ja-Jpan-JP", "ja-JP"}, ""},
        {{"fr", "ja", "en"}, ""},
        {{"java"}, "en"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseTranslation(c.uiLanguages, available), c.translation)
            << c.uiLanguages.join(',').toStdString();
    EXPECT_TRUE(AvailableTranslations().contains("en"));
}

TEST(Translation, ThePlayTimeTextSpeaksTheLanguageInUse)
{
    const struct {
        const char* language;
        double seconds;
        const char* text;
    } cases[] = {
        {"", 0.049, "[時間:0.0秒]"},
        {"", 12.345, "[時間:12.3秒]"},
        {"", 59.96, "[時間:60.0秒]"},
        {"en", 12.345, "[Time: 12.3 s]"},
        {"en", 4294967.295, "[Time: 4294967.3 s]"},
        // The translation chosen before is gone, not left behind the program's own texts.
        {"", 12.345, "[時間:12.3秒]"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(UseTranslation(c.language));
        EXPECT_EQ(MakePlayTimeText()(c.seconds), c.text) << c.language << ' ' << c.seconds;
    }
    UseTranslation({});
}
