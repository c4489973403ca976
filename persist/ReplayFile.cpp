// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/ReplayFile.h"

#include "persist/NumberText.h"
#include "persist/ScoreTable.h"
#include "persist/TextFile.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr std::string_view End = ".";
// Moves of a carried weight that one line holds, so that no line grows long.
constexpr std::size_t MovesPerLine = 32;

char KindLetter(ReplayInput::Kind kind)
{
    switch (kind) {
    case ReplayInput::Kind::Anchor: return 'a';
    case ReplayInput::Kind::Drag: return 'm';
    case ReplayInput::Kind::Release: return 'r';
    case ReplayInput::Kind::Drop: return 'x';
    case ReplayInput::Kind::Pause: return 'p';
    case ReplayInput::Kind::Resume: return 'q';
    }
    return '?';
}

std::optional<ReplayInput::Kind> KindOf(char letter)
{
    switch (letter) {
    case 'a': return ReplayInput::Kind::Anchor;
    case 'm': return ReplayInput::Kind::Drag;
    case 'r': return ReplayInput::Kind::Release;
    case 'x': return ReplayInput::Kind::Drop;
    case 'p': return ReplayInput::Kind::Pause;
    case 'q': return ReplayInput::Kind::Resume;
    default: return std::nullopt;
    }
}

// The number of points an input of this kind carries.
int PointsOf(ReplayInput::Kind kind)
{
    return kind == ReplayInput::Kind::Anchor || kind == ReplayInput::Kind::Drag
                   || kind == ReplayInput::Kind::Release
               ? 1
               : 0;
}

std::vector<std::string_view> Split(std::string_view line)
{
    std::vector<std::string_view> tokens;
    std::size_t begin = 0;
    while (begin < line.size()) {
        const std::size_t end = std::min(line.find(' ', begin), line.size());
        if (end == begin)
            return {};
        tokens.push_back(line.substr(begin, end - begin));
        begin = end + 1;
    }
    return tokens;
}

// The whole token as a decimal integer within [low, high].
bool ReadInt(std::string_view token, long long low, long long high, long long& value)
{
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    return result.ec == std::errc() && result.ptr == token.data() + token.size() && value >= low
           && value <= high;
}

// Reads the lines of a replay one after another, keeping the line number for the error.
class Reader {
public:
    explicit Reader(std::string_view text)
        : rest(text)
    {
    }

    // False at the end of the text.
    bool Next(std::string_view& line)
    {
        if (rest.empty())
            return false;
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        ++number;
        return true;
    }

    bool Fail(std::string& error, const std::string& what) const
    {
        error = "line " + std::to_string(number) + ": " + what;
        return false;
    }

    bool AtEnd() const { return rest.empty(); }

private:
    std::string_view rest;
    int number = 0;
};

bool ParseHeader(Reader& reader, Replay& replay, std::string& error)
{
    std::string_view line;
    if (!reader.Next(line)) {
        error = "it is empty";
        return false;
    }
    std::vector<std::string_view> tokens = Split(line);
    long long number = 0;
    if (tokens.size() != 2 || tokens[0] != ReplayFile::Magic
        || !ReadInt(tokens[1], 1, 1'000'000'000, number)) {
        error = "it is not a replay";
        return false;
    }
    if (number > ReplayFile::Version) {
        error = "it is of a later version (" + std::to_string(number) + ")";
        return false;
    }
    struct Field {
        std::string_view key;
        long long high;
        long long* value;
    };
    long long seed = 0;
    long long rule = 0;
    long long score = 0;
    long long end = 0;
    double seconds = 0.0;
    const Field fields[] = {{"seed", UINT32_MAX, &seed},
                            {"rule", INT32_MAX, &rule},
                            {"time", 0, nullptr},
                            {"score", ScoreTable::LargestScore, &score},
                            {"end", Replay::MaxPass, &end}};
    for (const Field& field : fields) {
        if (!reader.Next(line))
            return reader.Fail(error, "it is cut short");
        tokens = Split(line);
        if (tokens.size() != 2 || tokens[0] != field.key)
            return reader.Fail(error, "no " + std::string(field.key) + " here");
        if (field.value && ReadInt(tokens[1], 0, field.high, *field.value))
            continue;
        if (!field.value) {
            const auto result =
                std::from_chars(tokens[1].data(), tokens[1].data() + tokens[1].size(), seconds);
            if (result.ec == std::errc() && result.ptr == tokens[1].data() + tokens[1].size()
                && seconds >= 0.0 && seconds <= ScoreTable::LargestTime)
                continue;
        }
        return reader.Fail(error, "the " + std::string(field.key) + " is not one a game can have");
    }
    replay.seed = static_cast<std::uint32_t>(seed);
    replay.ruleVersion = static_cast<int>(rule);
    replay.seconds = seconds;
    replay.score = static_cast<int>(score);
    replay.endPass = static_cast<int>(end);
    return true;
}

bool ParseSwallows(Reader& reader, Replay& replay, std::string& error)
{
    std::string_view line;
    if (!reader.Next(line))
        return reader.Fail(error, "it is cut short");
    const std::vector<std::string_view> tokens = Split(line);
    if (tokens.empty() || tokens[0] != "swallows")
        return reader.Fail(error, "no swallows here");
    if (tokens.size() - 1 > Replay::MaxInputs)
        return reader.Fail(error, "more swallows than a game can have");
    long long pass = 0;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        long long step = 0;
        if (!ReadInt(tokens[i], 0, Replay::MaxPass, step))
            return reader.Fail(error, "a swallow's pass is not a step forward");
        pass += step;
        if (pass < 1 || pass > replay.endPass)
            return reader.Fail(error, "a swallow outside the game's passes");
        replay.swallowPasses.push_back(static_cast<int>(pass));
    }
    return true;
}

// One input line after the ones before it, which left the pass and the point.
bool ParseInput(Reader& reader, std::string_view line, Replay& replay, ReplayInput& last, std::string& error)
{
    const std::vector<std::string_view> tokens = Split(line);
    const std::optional<ReplayInput::Kind> kind = tokens.empty() ? std::nullopt : KindOf(tokens[0].front());
    if (!kind)
        return reader.Fail(error, "not an input");
    long long step = 0;
    if (!ReadInt(tokens[0].substr(1), -Replay::MaxPass, Replay::MaxPass, step))
        return reader.Fail(error, "no pass");
    if (step < 0)
        return reader.Fail(error, "an input before the one before it");
    const std::size_t numbers = tokens.size() - 1;
    const std::size_t points = static_cast<std::size_t>(PointsOf(*kind));
    const bool many = *kind == ReplayInput::Kind::Drag;
    if (points == 0 ? numbers != 0 : numbers == 0 || numbers % 2 != 0 || (!many && numbers != 2))
        return reader.Fail(error, "not as many numbers as the input takes");
    for (std::size_t i = 0; i == 0 || i < numbers / 2; ++i) {
        if (replay.inputs.size() >= Replay::MaxInputs)
            return reader.Fail(error, "more inputs than a game can have");
        ReplayInput input{last.pass + static_cast<int>(i == 0 ? step : 1), *kind, 0, 0};
        if (input.pass > replay.endPass)
            return reader.Fail(error, "an input after the game's end");
        if (points) {
            long long x = 0;
            long long y = 0;
            constexpr long long Far = 2LL * Replay::MaxCoordinate;
            if (!ReadInt(tokens[1 + 2 * i], -Far, Far, x) || !ReadInt(tokens[2 + 2 * i], -Far, Far, y))
                return reader.Fail(error, "a point far outside the field");
            x += *kind == ReplayInput::Kind::Anchor ? 0 : last.x;
            y += *kind == ReplayInput::Kind::Anchor ? 0 : last.y;
            if (std::llabs(x) > Replay::MaxCoordinate || std::llabs(y) > Replay::MaxCoordinate)
                return reader.Fail(error, "a point far outside the field");
            input.x = static_cast<int>(x);
            input.y = static_cast<int>(y);
            last.x = input.x;
            last.y = input.y;
        }
        last.pass = input.pass;
        replay.inputs.push_back(input);
    }
    return true;
}

} // namespace

namespace ReplayFile {

std::string Format(const Replay& replay)
{
    std::string text;
    text += std::string(Magic) + " " + std::to_string(Version) + "\n";
    text += "seed " + std::to_string(replay.seed) + "\n";
    text += "rule " + std::to_string(replay.ruleVersion) + "\n";
    text += "time " + FormatTime(replay.seconds) + "\n";
    text += "score " + std::to_string(replay.score) + "\n";
    text += "end " + std::to_string(replay.endPass) + "\n";
    text += "swallows";
    int pass = 0;
    for (const int swallow : replay.swallowPasses) {
        text += " " + std::to_string(swallow - pass);
        pass = swallow;
    }
    text += "\n";
    ReplayInput last;
    std::size_t moves = 0;
    for (const ReplayInput& input : replay.inputs) {
        const bool joined = input.kind == ReplayInput::Kind::Drag && moves > 0 && moves < MovesPerLine
                            && input.pass == last.pass + 1;
        if (!joined) {
            if (!text.ends_with('\n'))
                text += "\n";
            text += KindLetter(input.kind) + std::to_string(input.pass - last.pass);
        }
        moves = input.kind == ReplayInput::Kind::Drag ? (joined ? moves + 1 : 1) : 0;
        if (PointsOf(input.kind)) {
            const bool absolute = input.kind == ReplayInput::Kind::Anchor;
            text += " " + std::to_string(input.x - (absolute ? 0 : last.x)) + " "
                    + std::to_string(input.y - (absolute ? 0 : last.y));
            last.x = input.x;
            last.y = input.y;
        }
        last.pass = input.pass;
    }
    if (!text.ends_with('\n'))
        text += "\n";
    text += std::string(End) + "\n";
    return text;
}

bool Parse(std::string_view text, Replay& replay, std::string& error)
{
    if (text.size() > MaxSize) {
        error = "it is larger than " + std::to_string(MaxSize >> 20) + " MiB";
        return false;
    }
    Reader reader(text);
    Replay read;
    if (!ParseHeader(reader, read, error) || !ParseSwallows(reader, read, error))
        return false;
    ReplayInput last;
    std::string_view line;
    for (;;) {
        if (!reader.Next(line)) {
            error = "it is cut short";
            return false;
        }
        if (line == End)
            break;
        if (!ParseInput(reader, line, read, last, error))
            return false;
    }
    if (!reader.AtEnd())
        return reader.Fail(error, "more after the end");
    replay = std::move(read);
    return true;
}

LoadResult Load(const std::string& path, Replay& replay, std::string& error)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return LoadResult::Missing;
        error = "cannot examine it";
        return LoadResult::Failed;
    }
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0) {
        error = "it is a link that leads nowhere";
        return LoadResult::Failed;
    }
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > MaxSize) {
        error = "it is larger than " + std::to_string(MaxSize >> 20) + " MiB";
        return LoadResult::Failed;
    }
    std::string text;
    switch (TextFile::Load(path, text, error)) {
    case TextFile::LoadResult::Loaded: break;
    case TextFile::LoadResult::Missing: return LoadResult::Missing;
    case TextFile::LoadResult::Failed: return LoadResult::Failed;
    }
    return Parse(text, replay, error) ? LoadResult::Loaded : LoadResult::Failed;
}

bool Save(const std::string& path, const Replay& replay, std::string& error)
{
    const std::string text = Format(replay);
    if (text.size() > MaxSize) {
        error = "the replay would be larger than " + std::to_string(MaxSize >> 20) + " MiB";
        return false;
    }
    return TextFile::Replace(path, text, error);
}

} // namespace ReplayFile
