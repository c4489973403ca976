// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/IniDocument.h"

#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

namespace {

struct ReadCase {
    const char* behaviour;
    std::string text;
    std::string section;
    std::string key;
    std::string value;
    bool found;
};

struct WriteCase {
    const char* behaviour;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
};

} // namespace

TEST(IniDocument, ReadsAsTheProfileFunctionsDo)
{
    const ReadCase cases[] = {
        {"names match without regard to case", "[score]\nSCORE1=5\n", "Score", "Score1", "5", true},
        {"blanks around names and value go", " \t[ Score\t]\n\t Score1 \t=  7 8 \t\n", "Score", "Score1",
         "7 8", true},
        {"double quotes go, blanks inside stay", "[S]\nk= \"  a b  \" \n", "S", "k", "  a b  ", true},
        {"single quotes go", "[S]\nk='x'\n", "S", "k", "x", true},
        {"quotes that do not match stay", "[S]\nk=\"x'\n", "S", "k", "\"x'", true},
        {"a lone quote stays", "[S]\nk=\"\n", "S", "k", "\"", true},
        {"only the outer pair goes", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\"", true},
        {"empty quotes read as empty", "[S]\nk=\"\"\n", "S", "k", "", false},
        {"empty value", "[S]\nk=\n", "S", "k", "", false},
        {"a ';' line is a comment", "[S]\n ;k=1\nk=2\n", "S", "k", "2", true},
        {"a ';' inside a value belongs to it", "[S]\nk=120  ;remark\n", "S", "k", "120  ;remark", true},
        {"a remark alone is a value", "[S]\nk=;remark\n", "S", "k", ";remark", true},
        {"split at the first '='", "[S]\nk=a=b\n", "S", "k", "a=b", true},
        {"a line without '=' is no key", "[S]\nk 5\n", "S", "k", "", false},
        {"text after ']' is ignored", "[S] trailing ; junk\nk=1\n", "S", "k", "1", true},
        {"a header without ']' runs to the line end", "[ S \nk=1\n", "S", "k", "1", true},
        {"the first of duplicate sections is read", "[S]\nk=1\n[S]\nk=2\nj=3\n", "S", "k", "1", true},
        {"keys of a later duplicate section are not seen", "[S]\nk=1\n[S]\nj=3\n", "S", "j", "", false},
        {"the first of duplicate keys is read", "[S]\nk=1\nK=2\n", "S", "k", "1", true},
        {"a key before any section belongs to none", "k=1\n[S]\n", "S", "k", "", false},
        {"a key of another section is not seen", "[A]\nk=1\n[S]\nj=2\n", "S", "k", "", false},
        {"CRLF endings", "[S]\r\nk=1\r\nj=2\r\n", "S", "j", "2", true},
        {"CR endings", "[S]\rk=1\rj=2", "S", "j", "2", true},
        {"a byte-order mark is skipped", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "1", true},
        {"a NUL byte is an ordinary byte", "[S]\nk=a\0b\n"s, "S", "k", "a\0b"s, true},
        {"empty text", "", "S", "k", "", false},
        {"an empty key never matches", "[S]\n=1\n", "S", "", "", false},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        const IniDocument document(c.text);
        std::string value = "stale";
        EXPECT_EQ(document.Read(c.section, c.key, value), c.found);
        EXPECT_EQ(value, c.value);
    }
}

TEST(IniDocument, LongValueIsReadCutTo399BytesWithoutSplittingACharacter)
{
    const std::string ascii(500, 'x');
    const IniDocument plain("[S]\nk=" + ascii + "\n");
    std::string value;
    EXPECT_TRUE(plain.Read("S", "k", value));
    EXPECT_EQ(value, std::string(399, 'x'));
    EXPECT_EQ(plain.Find("S", "k"), ascii);

    // "é" takes bytes 398 and 399: it does not fit whole, so it is left out.
    const IniDocument accented("[S]\nk=" + std::string(398, 'x') + "\xC3\xA9" + "tail\n");
    EXPECT_TRUE(accented.Read("S", "k", value));
    EXPECT_EQ(value, std::string(398, 'x'));
}

TEST(IniDocument, WritesAsTheProfileFunctionsDoAndKeepsEveryOtherByte)
{
    const WriteCase cases[] = {
        {"a value is replaced in place; casing, spacing and ending stay",
         "; head\r\n[score]\r\n  SCORE1 = 120 \r\nother=1\r\n", "Score", "Score1", "150",
         "; head\r\n[score]\r\n  SCORE1 = 150\r\nother=1\r\n"},
        {"a new key goes after the last key line of its section", "[A]\na=1\n\n; tail\n[B]\nb=1\n", "A", "c",
         "2", "[A]\na=1\nc=2\n\n; tail\n[B]\nb=1\n"},
        {"a section without keys gets the key right after its header", "[A]\n; only a remark\n[B]\n", "A",
         "k", "1", "[A]\nk=1\n; only a remark\n[B]\n"},
        {"a missing section is appended, the last line ended first", "[A]\na=1", "B", "k", "v",
         "[A]\na=1\n[B]\nk=v\n"},
        {"an empty text gets a section and a key", "", "S", "k", "v", "[S]\nk=v\n"},
        {"new lines take the file's CRLF", "[A]\r\na=1\r\n", "B", "k", "v", "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
        {"new lines take the file's CR", "[A]\ra=1", "A", "k", "v", "[A]\ra=1\rk=v\r"},
        {"a byte-order mark stays", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "2", "\xEF\xBB\xBF[S]\nk=2\n"},
        {"a byte-order mark alone is not a line", "\xEF\xBB\xBF", "S", "k", "v", "\xEF\xBB\xBF[S]\nk=v\n"},
        {"the first of duplicates is replaced", "[S]\nk=1\nk=2\n[s]\nk=3\n", "s", "K", "9",
         "[S]\nk=9\nk=2\n[s]\nk=3\n"},
        {"a key only in a later duplicate section is added to the first", "[S]\na=1\n[S]\nk=1\n", "S", "k",
         "2", "[S]\na=1\nk=2\n[S]\nk=1\n"},
        {"a new key takes the ending of the line it follows", "[S]\r\nk=1\nz=2\r\n", "S", "j", "3",
         "[S]\r\nk=1\nz=2\r\nj=3\r\n"},
        {"blanks at the ends of a value are kept by quotes", "[S]\n", "S", "k", " padded ",
         "[S]\nk=\" padded \"\n"},
        {"a value in its own quotes is quoted once more", "[S]\n", "S", "k", "'q'", "[S]\nk=\"'q'\"\n"},
        {"a value may hold '=', ';' and '['", "[S]\n", "S", "k", "[a=b;c", "[S]\nk=[a=b;c\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.behaviour);
        IniDocument document(c.before);
        EXPECT_EQ(document.Write(c.section, c.key, c.value), IniDocument::Change::Changed);
        EXPECT_EQ(document.Text(), c.after);
        EXPECT_EQ(document.Find(c.section, c.key), c.value);
    }
}

TEST(IniDocument, WritingTheValueAlreadyReadChangesNoByte)
{
    const std::string text = "[S]\r\n  k = \"5\"  \r\nj=;x\r\n";
    IniDocument document(text);
    EXPECT_EQ(document.Write("s", "K", "5"), IniDocument::Change::Unchanged);
    EXPECT_EQ(document.Write("S", "j", ";x"), IniDocument::Change::Unchanged);
    EXPECT_EQ(document.Text(), text);
}

TEST(IniDocument, RefusesWhatWouldNotReadBackTheSame)
{
    struct Refused {
        std::string section;
        std::string key;
        std::string value;
    };
    const Refused cases[] = {
        {"S", "k", "a\nb"}, {"S", "k", "a\rb"}, {"S", "a=b", "1"}, {"S", "[k", "1"}, {"S", ";k", "1"},
        {"S", " k", "1"},   {"S", "k\t", "1"},  {"S", "", "1"},    {"", "k", "1"},   {"a]b", "k", "1"},
        {"a\nb", "k", "1"}, {" S", "k", "1"},   {"S", "k\n", "1"},
    };
    const std::string text = "[S]\nk=0\n";
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.section + "|" + c.key + "|" + c.value);
        EXPECT_FALSE(IniDocument::Unwritable(c.section, c.key, c.value).empty());
        IniDocument document(text);
        EXPECT_EQ(document.Write(c.section, c.key, c.value), IniDocument::Change::Refused);
        EXPECT_EQ(document.Text(), text);
    }
}

TEST(IniDocument, ManySectionsAreSearchedToTheEnd)
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    IniDocument document(text);
    EXPECT_EQ(document.Find("s99999", "K"), "99999");
    EXPECT_EQ(document.Write("Score", "Score1", "0"), IniDocument::Change::Changed);
    EXPECT_EQ(document.Text(), text + "[Score]\nScore1=0\n");
}
