// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Start-up Load and exit Save of the score table on hostile settings files. The program must
// start within 2 s and save within a few seconds on each of them.

#include "persist/ScoreTable.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t FiftyMegabytes = std::size_t{50} << 20;

std::string SingleLine()
{
    return std::string(FiftyMegabytes, 'x');
}

std::string ManySections()
{
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "[Section" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
    return text;
}

std::string EmptyLines()
{
    return std::string(FiftyMegabytes, '\n');
}

std::string CrOnlyTable()
{
    std::string text = "[Score]\r";
    for (int i = 0; i < 1000000; ++i)
        text += "Other" + std::to_string(i) + "=1\r";
    return text + "[Data]\rRegist=1\r";
}

std::string Junk()
{
    std::string text(FiftyMegabytes, '\0');
    unsigned state = 12345;
    for (char& c : text) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return text;
}

// A working directory of its own for the run, holding "Setting.ini".
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tocklet-bench-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
    }
    ~Scratch()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }
    void Put(const std::string& text) const
    {
        std::ofstream(dir / "Setting.ini", std::ios::binary | std::ios::trunc) << text;
    }

private:
    std::filesystem::path dir;
    std::filesystem::path previous;
};

void Load(benchmark::State& state, std::string (*make)())
{
    Scratch scratch;
    scratch.Put(make());
    for (auto _ : state) {
        ScoreTable table;
        benchmark::DoNotOptimize(table.Load());
    }
}

// The first save of a hostile file: no key is there yet, so each of the twelve values is added.
void FirstSave(benchmark::State& state, std::string (*make)())
{
    Scratch scratch;
    const std::string text = make();
    for (auto _ : state) {
        state.PauseTiming();
        scratch.Put(text);
        ScoreTable table;
        table.Load();
        state.ResumeTiming();
        if (!table.Save())
            state.SkipWithError(table.GetLastError().c_str());
    }
}

// A later save writes back the values it read and so changes nothing.
void SaveUnchanged(benchmark::State& state, std::string (*make)())
{
    Scratch scratch;
    scratch.Put(make());
    ScoreTable table;
    table.Load();
    table.Save();
    for (auto _ : state) {
        if (!table.Save())
            state.SkipWithError(table.GetLastError().c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::pair<const char*, std::string (*)()> files[] = {
        {"SingleLine50MB", SingleLine},
        {"Sections100000", ManySections},
        {"EmptyLines50MB", EmptyLines},
        {"CrOnlyTable", CrOnlyTable},
        {"Junk50MB", Junk},
    };
    for (const auto& [name, make] : files) {
        const std::string suffix = std::string("/") + name;
        benchmark::RegisterBenchmark(("Load" + suffix).c_str(), Load, make)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark(("FirstSave" + suffix).c_str(), FirstSave, make)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark(("SaveUnchanged" + suffix).c_str(), SaveUnchanged, make)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
