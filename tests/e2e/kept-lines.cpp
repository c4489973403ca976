// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Compares a settings file before and after a run of the program: every line that is not one
// the score table writes (its two section headers and its twelve keys) must come through
// unchanged and in order, ending included; only a last line without an ending may gain one.
// New lines may only be lines of the table, and the new file must hold all twelve keys.
// Lines end at CR LF, LF or CR.
//   kept-lines <old file> <new file>
// Exits 0 when so (with a summary), 1 with the first difference, 2 when a file cannot be read.

#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Line {
    std::string_view content;
    std::string_view ending;
};

std::vector<Line> LinesOf(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", begin);
        if (stop == std::string_view::npos)
            stop = text.size();
        std::size_t end = stop;
        if (stop < text.size())
            end += text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? 2 : 1;
        lines.push_back({text.substr(begin, stop - begin), text.substr(stop, end - stop)});
        begin = end;
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool SameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

const std::array<std::string_view, 12> Keys = {"Score1", "Score2", "Score3", "Score4", "Score5", "Time1",
                                               "Time2",  "Time3",  "Time4",  "Time5",  "Regist", "PlayNum"};

// The index of the table's key the line sets, -1 for a header of its sections, -2 otherwise.
int TableLine(std::string_view content)
{
    const std::string_view trimmed = TrimBlanks(content);
    if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
        const std::string_view name = TrimBlanks(trimmed.substr(1, trimmed.size() - 2));
        return SameNoCase(name, "Score") || SameNoCase(name, "Data") ? -1 : -2;
    }
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return -2;
    const std::string_view key = TrimBlanks(trimmed.substr(0, equals));
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if (SameNoCase(key, Keys[i]))
            return static_cast<int>(i);
    }
    return -2;
}

std::string Shown(const Line& line)
{
    std::string shown;
    for (const char c : line.content.substr(0, 60)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte < 0x20 || byte >= 0x7F ? '?' : c;
    }
    if (line.content.size() > 60)
        shown += "... (" + std::to_string(line.content.size()) + " bytes)";
    for (const char c : line.ending)
        shown += c == '\r' ? "\\r" : "\\n";
    return shown;
}

bool ReadFile(const char* path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: kept-lines <old file> <new file>\n");
        return 2;
    }
    std::string oldText;
    std::string newText;
    if (!ReadFile(argv[1], oldText) || !ReadFile(argv[2], newText)) {
        std::fprintf(stderr, "kept-lines: cannot read %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    const std::vector<Line> oldLines = LinesOf(oldText);
    const std::vector<Line> newLines = LinesOf(newText);

    // Old lines in order, each found again or, if it is a line of the table, rewritten; new lines
    // between them only where the table put them.
    const auto same = [&](std::size_t i, const Line& after) {
        const Line& before = oldLines[i];
        const bool gainedEnding = i + 1 == oldLines.size() && before.ending.empty() && !after.ending.empty();
        return before.content == after.content && (before.ending == after.ending || gainedEnding);
    };
    std::size_t kept = 0;
    std::size_t written = 0;
    std::size_t j = 0;
    for (std::size_t i = 0; i < oldLines.size();) {
        if (j < newLines.size() && same(i, newLines[j])) {
            ++kept;
            ++i;
            ++j;
        } else if (j < newLines.size() && TableLine(newLines[j].content) != -2) {
            ++written;
            ++j;
        } else if (TableLine(oldLines[i].content) != -2) {
            ++i;
        } else {
            std::printf(
                "kept-lines: old line %zu is not in the new file where it belongs:\n  old: %s\n  new: %s\n",
                i + 1, Shown(oldLines[i]).c_str(),
                j < newLines.size() ? Shown(newLines[j]).c_str() : "(end)");
            return 1;
        }
    }
    for (; j < newLines.size(); ++j, ++written) {
        if (TableLine(newLines[j].content) == -2) {
            std::printf("kept-lines: the new file has a line of its own: %s\n", Shown(newLines[j]).c_str());
            return 1;
        }
    }
    std::array<bool, Keys.size()> present{};
    for (const Line& line : newLines) {
        const int key = TableLine(line.content);
        if (key >= 0)
            present[static_cast<std::size_t>(key)] = true;
    }
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if (!present[i]) {
            std::printf("kept-lines: the new file has no %s\n", std::string(Keys[i]).c_str());
            return 1;
        }
    }
    std::printf("kept-lines: %zu of %zu old lines kept, %zu lines of the score table written\n", kept,
                oldLines.size(), written);
    return 0;
}
