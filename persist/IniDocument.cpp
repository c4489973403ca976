// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/IniDocument.h"

#include <array>
#include <cstring>
#include <utility>

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";
constexpr std::size_t Unknown = std::string_view::npos;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare without regard to ASCII case; other bytes must be equal.
bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// begin <= contentEnd <= end; [contentEnd, end) is the line ending: "", "\n", "\r" or "\r\n".
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;

    bool HasEnding() const { return contentEnd != end; }
};

// Walks the lines of a text, the first one after a byte-order mark. The next occurrence of each
// character it looks for is found once with memchr and remembered, so that a whole walk stays
// linear however the text is made, and lines that cannot matter are passed at memchr's speed.
class LineScanner {
public:
    explicit LineScanner(std::string_view text)
        : text(text)
        , pos(text.starts_with(Bom) ? Bom.size() : 0)
    {
        next.fill(Unknown);
    }

    bool Next(Line& line)
    {
        if (pos >= text.size())
            return false;
        const std::size_t cr = NextOf(Cr);
        const std::size_t lf = NextOf(Lf);
        const std::size_t stop = cr < lf ? cr : lf;
        line.begin = pos;
        line.contentEnd = stop;
        if (stop == text.size())
            line.end = stop;
        else if (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n')
            line.end = stop + 2;
        else
            line.end = stop + 1;
        pos = line.end;
        return true;
    }

    // The next line that holds a '[', or with keys too, a '[' or a '=': no other line can be a
    // section header or a key line.
    bool NextHeader(Line& line) { return NextHolding(NextOf(Bracket), line); }
    bool NextHeaderOrKey(Line& line)
    {
        const std::size_t bracket = NextOf(Bracket);
        const std::size_t equals = NextOf(Equals);
        return NextHolding(bracket < equals ? bracket : equals, line);
    }

private:
    enum Searched { Cr, Lf, Bracket, Equals, SearchedCount };
    static constexpr char SearchedChar[SearchedCount] = {'\r', '\n', '[', '='};

    // The position of the next such character at or after pos, text.size() when there is none.
    std::size_t NextOf(Searched searched)
    {
        std::size_t& cached = next[searched];
        if (cached == Unknown || cached < pos) {
            const void* hit = std::memchr(text.data() + pos, SearchedChar[searched], text.size() - pos);
            cached =
                hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
        }
        return cached;
    }

    // Moves to the start of the line that holds position hit, and reads that line.
    bool NextHolding(std::size_t hit, Line& line)
    {
        if (hit >= text.size()) {
            pos = text.size();
            return false;
        }
        std::size_t start = pos;
        for (const char ending : {'\r', '\n'}) {
            const void* last = ::memrchr(text.data() + pos, ending, hit - pos);
            if (last) {
                const std::size_t after =
                    static_cast<std::size_t>(static_cast<const char*>(last) - text.data()) + 1;
                start = after > start ? after : start;
            }
        }
        pos = start;
        return Next(line);
    }

    std::string_view text;
    std::size_t pos;
    std::array<std::size_t, SearchedCount> next;
};

struct Entry {
    enum class Kind { Other, Section, Key };

    Kind kind = Kind::Other;
    std::string_view name;
    // Key lines: where the value starts in the line, past the '=' and the blanks after it.
    std::size_t valueOffset = 0;
};

Entry Classify(std::string_view content)
{
    Entry entry;
    std::size_t i = 0;
    while (i < content.size() && IsBlank(content[i]))
        ++i;
    if (i == content.size() || content[i] == ';')
        return entry;
    if (content[i] == '[') {
        const std::size_t close = content.find(']', i + 1);
        const std::size_t length = close == std::string_view::npos ? std::string_view::npos : close - i - 1;
        entry.kind = Entry::Kind::Section;
        entry.name = Trim(content.substr(i + 1, length));
        return entry;
    }
    const std::size_t equals = content.find('=', i);
    if (equals == std::string_view::npos)
        return entry;
    entry.kind = Entry::Kind::Key;
    entry.name = Trim(content.substr(i, equals - i));
    std::size_t value = equals + 1;
    while (value < content.size() && IsBlank(content[value]))
        ++value;
    entry.valueOffset = value;
    return entry;
}

// The value as read: blanks removed around it, then one outer pair of matching quotes.
std::string_view ValueOf(std::string_view content, const Entry& entry)
{
    std::string_view value = Trim(content.substr(entry.valueOffset));
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// The text that reads back as value: quoted when blanks at its ends or its own outer quotes
// would otherwise be taken away.
std::string Encoded(std::string_view value)
{
    const bool quote = !value.empty()
                       && (IsBlank(value.front()) || IsBlank(value.back())
                           || (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
    std::string encoded;
    encoded.reserve(value.size() + 2);
    if (quote)
        encoded += '"';
    encoded += value;
    if (quote)
        encoded += '"';
    return encoded;
}

// The ending new lines get: the first one of the text, LF in a text without any.
std::string_view FirstEnding(std::string_view text)
{
    LineScanner lines(text);
    Line line;
    if (lines.Next(line) && line.HasEnding())
        return text.substr(line.contentEnd, line.end - line.contentEnd);
    return "\n";
}

std::size_t CutPoint(std::string_view value)
{
    const auto continuation = [&](std::size_t i) {
        return (static_cast<unsigned char>(value[i]) & 0xC0) == 0x80;
    };
    std::size_t cut = IniDocument::MaxValueLength;
    for (int back = 0; back < 3 && cut > 0 && continuation(cut); ++back)
        --cut;
    const bool leadByte = (static_cast<unsigned char>(value[cut]) & 0xC0) == 0xC0;
    return leadByte ? cut : IniDocument::MaxValueLength;
}

bool HoldsLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool HasOuterBlank(std::string_view s)
{
    return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

} // namespace

IniDocument::IniDocument(std::string bytes)
    : text(std::move(bytes))
{
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const
{
    if (section.empty() || key.empty())
        return std::nullopt;
    LineScanner lines(text);
    Line line;
    bool inSection = false;
    while (inSection ? lines.NextHeaderOrKey(line) : lines.NextHeader(line)) {
        const std::string_view content =
            std::string_view(text).substr(line.begin, line.contentEnd - line.begin);
        const Entry entry = Classify(content);
        if (entry.kind == Entry::Kind::Section) {
            if (inSection)
                return std::nullopt;
            inSection = EqualNoCase(entry.name, section);
        } else if (entry.kind == Entry::Kind::Key && inSection && EqualNoCase(entry.name, key)) {
            return std::string(ValueOf(content, entry));
        }
    }
    return std::nullopt;
}

bool IniDocument::Read(std::string_view section, std::string_view key, std::string& value) const
{
    std::optional<std::string> found = Find(section, key);
    value = found ? std::move(*found) : std::string();
    if (value.size() > MaxValueLength)
        value.resize(CutPoint(value));
    return !value.empty();
}

IniDocument::Change IniDocument::Write(std::string_view section, std::string_view key, std::string_view value)
{
    if (!Unwritable(section, key, value).empty())
        return Change::Refused;

    LineScanner lines(text);
    Line line;
    bool inSection = false;
    bool sectionFound = false;
    Line lastInSection; // the header or the last key line of the section: a new key goes after it
    while (inSection ? lines.NextHeaderOrKey(line) : lines.NextHeader(line)) {
        const std::string_view content =
            std::string_view(text).substr(line.begin, line.contentEnd - line.begin);
        const Entry entry = Classify(content);
        if (entry.kind == Entry::Kind::Section) {
            if (inSection)
                break;
            if (EqualNoCase(entry.name, section)) {
                inSection = sectionFound = true;
                lastInSection = line;
            }
        } else if (entry.kind == Entry::Kind::Key && inSection) {
            lastInSection = line;
            if (EqualNoCase(entry.name, key)) {
                if (ValueOf(content, entry) == value)
                    return Change::Unchanged;
                const std::size_t valueBegin = line.begin + entry.valueOffset;
                text.replace(valueBegin, line.contentEnd - valueBegin, Encoded(value));
                return Change::Changed;
            }
        }
    }

    const std::string_view textEnding = FirstEnding(text);
    std::string added;
    if (sectionFound) {
        std::string_view ending = textEnding;
        if (lastInSection.HasEnding())
            ending = std::string_view(text).substr(lastInSection.contentEnd,
                                                   lastInSection.end - lastInSection.contentEnd);
        else
            added += ending;
        added.append(key).append("=").append(Encoded(value)).append(ending);
        text.insert(lastInSection.end, added);
        return Change::Changed;
    }
    const bool lastLineOpen = text.size() > (std::string_view(text).starts_with(Bom) ? Bom.size() : 0)
                              && text.back() != '\n' && text.back() != '\r';
    if (lastLineOpen)
        added += textEnding;
    added.append("[").append(section).append("]").append(textEnding);
    added.append(key).append("=").append(Encoded(value)).append(textEnding);
    text += added;
    return Change::Changed;
}

std::string IniDocument::Unwritable(std::string_view section, std::string_view key, std::string_view value)
{
    if (section.empty())
        return "the section name is empty";
    if (HoldsLineBreak(section))
        return "the section name holds a line break";
    if (section.find(']') != std::string_view::npos)
        return "the section name holds ']'";
    if (HasOuterBlank(section))
        return "the section name begins or ends with a blank";
    if (key.empty())
        return "the key is empty";
    if (HoldsLineBreak(key))
        return "the key holds a line break";
    if (key.find('=') != std::string_view::npos)
        return "the key holds '='";
    if (key.front() == '[' || key.front() == ';')
        return "the key begins with '[' or ';'";
    if (HasOuterBlank(key))
        return "the key begins or ends with a blank";
    if (HoldsLineBreak(value))
        return "the value holds a line break";
    return {};
}
