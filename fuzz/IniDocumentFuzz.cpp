// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// libFuzzer target over the in-memory INI reader and writer.
// Input: section, key, value, a second section and key, each ended by a backslash and one more
// character (a backslash is written doubled), then the document text itself.

#include "persist/IniDocument.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition, const char* property)
{
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

constexpr std::string_view Bom = "\xEF\xBB\xBF";

// Raw lines with their endings, after a byte-order mark.
std::vector<std::string_view> LinesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t begin = text.starts_with(Bom) ? Bom.size() : 0;
    while (begin < text.size()) {
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos)
            end = text.size();
        else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            end += 2;
        else
            end += 1;
        lines.push_back(text.substr(begin, end - begin));
        begin = end;
    }
    return lines;
}

std::string_view ContentOf(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

bool SameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The reading rules written out line by line in the plainest way, to check the real reader,
// which skips lines that cannot matter.
std::optional<std::string> ReferenceFind(std::string_view text, std::string_view section,
                                         std::string_view key)
{
    if (section.empty() || key.empty())
        return std::nullopt;
    bool inSection = false;
    for (const std::string_view line : LinesOf(text)) {
        std::string_view content = ContentOf(line);
        while (!content.empty() && (content.front() == ' ' || content.front() == '\t'))
            content.remove_prefix(1);
        if (content.empty() || content.front() == ';')
            continue;
        if (content.front() == '[') {
            if (inSection)
                return std::nullopt;
            const std::string_view name =
                content.substr(1, content.find(']') == std::string_view::npos ? std::string_view::npos
                                                                              : content.find(']') - 1);
            inSection = SameNoCase(TrimBlanks(name), section);
            continue;
        }
        const std::size_t equals = content.find('=');
        if (!inSection || equals == std::string_view::npos
            || !SameNoCase(TrimBlanks(content.substr(0, equals)), key))
            continue;
        std::string_view value = TrimBlanks(content.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
            && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

// A write changes at most one line and adds at most three; every other line stays byte for byte.
void CheckOnlyTheKeyLinesChanged(std::string_view before, std::string_view after)
{
    const std::vector<std::string_view> oldLines = LinesOf(before);
    const std::vector<std::string_view> newLines = LinesOf(after);
    std::size_t prefix = 0;
    while (prefix < oldLines.size() && prefix < newLines.size() && oldLines[prefix] == newLines[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < oldLines.size() - prefix && suffix < newLines.size() - prefix
           && oldLines[oldLines.size() - 1 - suffix] == newLines[newLines.size() - 1 - suffix])
        ++suffix;
    const std::size_t oldChanged = oldLines.size() - prefix - suffix;
    const std::size_t newChanged = newLines.size() - prefix - suffix;
    Require(oldChanged <= 1 && newChanged <= 3 && newChanged >= oldChanged,
            "a write changes one line or adds lines");
    if (oldChanged == 1 && newChanged == 1) {
        const std::string_view oldLine = oldLines[prefix];
        const std::string_view newLine = newLines[prefix];
        Require(oldLine.substr(ContentOf(oldLine).size()) == newLine.substr(ContentOf(newLine).size()),
                "a replaced value keeps its line ending");
    } else if (oldChanged == 1) {
        const std::string_view oldLine = oldLines[prefix];
        Require(ContentOf(oldLine).size() == oldLine.size(), "only a last line without an ending is touched");
        Require(ContentOf(newLines[prefix]) == oldLine, "a line given an ending keeps its text");
    }
    Require(before.starts_with(Bom) == after.starts_with(Bom), "a byte-order mark stays, and none is added");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(1024);
    const std::string otherSection = input.ConsumeRandomLengthString(64);
    const std::string otherKey = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    IniDocument document(text);
    Require(document.Text() == text, "a document keeps its bytes");

    // Reading: the profile reader's cut is a prefix of the whole value.
    const std::optional<std::string> whole = document.Find(section, key);
    Require(whole == ReferenceFind(text, section, key), "Find reads as the plain rules do");
    std::string read;
    const bool found = document.Read(section, key, read);
    Require(found == !read.empty(), "Read says whether its value is empty");
    Require(read.size() <= IniDocument::MaxValueLength, "Read cuts to 399 bytes");
    Require(whole ? whole->starts_with(read) : read.empty(), "Read hands out the start of the value");
    Require(!whole || whole->size() > IniDocument::MaxValueLength || read == *whole,
            "a short value is read whole");

    // Writing back what was read changes nothing.
    if (whole) {
        IniDocument same(text);
        Require(IniDocument::Unwritable(section, key, *whole).empty(), "a value read can be written");
        Require(same.Write(section, key, *whole) == IniDocument::Change::Unchanged,
                "writing what was read is no change");
        Require(same.Text() == text, "an unchanged write keeps every byte");
    }

    const std::optional<std::string> otherBefore = document.Find(otherSection, otherKey);
    const IniDocument::Change change = document.Write(section, key, value);
    if (change == IniDocument::Change::Refused) {
        Require(!IniDocument::Unwritable(section, key, value).empty(),
                "only what cannot be stored is refused");
        Require(document.Text() == text, "a refused write keeps every byte");
        return 0;
    }
    Require(document.Find(section, key) == value, "a written value reads back");
    Require(ReferenceFind(document.Text(), section, key) == value,
            "a written value reads back by the plain rules");
    if (change == IniDocument::Change::Unchanged)
        Require(document.Text() == text, "an unchanged write keeps every byte");
    else
        CheckOnlyTheKeyLinesChanged(text, document.Text());
    if (!(SameNoCase(otherSection, section) && SameNoCase(otherKey, key)))
        Require(document.Find(otherSection, otherKey) == otherBefore, "other keys read as before");
    Require(document.Find(otherSection, otherKey) == ReferenceFind(document.Text(), otherSection, otherKey),
            "Find after a write reads as the plain rules do");
    return 0;
}
