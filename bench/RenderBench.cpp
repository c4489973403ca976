// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/Mixer.h"
#include "audio/SoundBank.h"
#include "base/SecondsText.h"
#include "model/Shadow.h"
#include "model/Swing.h"
#include "model/World.h"
#include "render/Colour.h"
#include "render/DeviceContext.h"
#include "render/GameScreen.h"
#include "render/Painter.h"
#include "threads/Stopwatch.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int FieldWidth = 449;
constexpr int FieldHeight = 407;
const std::string TimeText = "[時間:12.3秒]";

// Swings spread over the field, released and swinging; the same scene for every run. The
// world's own shadows never come: a benchmark adds its own where it wants them.
void HangSwings(World& world, int count)
{
    world.rule.firstShadowTick = 1 << 30;
    world.rule.weightsPerShadowMin = world.rule.weightsPerShadowMax = 1 << 30;
    world.ResetGame();
    std::uint32_t seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    for (int i = 0; i < count; ++i) {
        const int ax = 20 + next(FieldWidth - 40);
        const int ay = 10 + next(200);
        world.BeginSwing(ax, ay);
        world.DragSwing(ax - 80 + next(160), ay + 20 + next(120));
        world.ReleaseSwing(0, 0);
    }
    for (int tick = 0; tick < 25; ++tick)
        world.Tick();
}

void LayOut(GameScreen& screen)
{
    screen.LayOutTitle();
    screen.SetTitleText("トクレット");
    screen.SetStatusText(TimeText);
    screen.SetPlaying(true);
}

// The same play scene as a Qt program would plainly draw it: one aliased QPainter, a pen and a
// brush set for every shape, drawLine and drawEllipse for every swing.
void DrawReferenceScene(QPainter& painter, World& world, const QFont& font)
{
    painter.fillRect(QRect(0, 0, FieldWidth, FieldHeight), Qt::black);
    for (int i = 0; i < world.GetSwingCount(); ++i) {
        const std::shared_ptr<Swing> swing = world.swings.GetAt(i);
        if (!swing || !swing->alive)
            continue;
        const int grey = 255 - i % 10 * 20;
        const Point weight = swing->GetPoint();
        const Rect box = swing->GetRect();
        painter.setPen(QPen(QColor(250, 250, 250), 0));
        painter.setBrush(QColor(250, 250, 250));
        painter.drawLine(swing->anchorX, swing->anchorY, weight.x, weight.y);
        painter.setPen(QPen(QColor(250, 250, 250), 0));
        painter.setBrush(QColor(grey, grey, grey));
        painter.drawEllipse(QRect(box.left, box.top, box.right - box.left - 1, box.bottom - box.top - 1));
    }
    painter.setFont(font);
    painter.setPen(QColor(250, 250, 250));
    painter.drawText(QRect(8, 6, FieldWidth - 16, 20), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(TimeText));
}

void SwingCounts(benchmark::internal::Benchmark* benchmark)
{
    for (const int count : {0, 100, 1000, 10000})
        benchmark->Arg(count);
}

// Count shadows of 40 px spread over the field, past their harmless first second; they keep
// their size, so that every iteration meets the same shadows.
void AddShadows(World& world, int count)
{
    world.rule.growthPerWeight = 0;
    for (int i = 0; i < count; ++i) {
        auto shadow =
            std::make_shared<Shadow>(20 + (i * 97) % (FieldWidth - 40), 20 + (i * 61) % (FieldHeight - 40),
                                     0.3 * std::cos(i), 0.3 * std::sin(i), 40);
        shadow->ageTicks = world.rule.harmlessTicks + 1;
        world.obstacles.Add(std::move(shadow));
    }
}

// Puts every weight back in play, out of the timing, so that each tick does the same work:
// a swing that was put out would skip its tests.
void Revive(benchmark::State& state, World& world)
{
    state.PauseTiming();
    for (int i = 0; i < world.GetSwingCount(); ++i) {
        const std::shared_ptr<Swing> swing = world.swings.GetAt(i);
        swing->alive = true;
        swing->ticksOutside = 0;
    }
    state.ResumeTiming();
}

// The swing's motion as it was computed before: the angle from atan, then its sine and cosine.
void UpdateWithLibm(Swing& swing)
{
    if (!swing.IsActive())
        return;
    swing.updateCount += 1;
    const double dy = swing.y - swing.anchorY;
    const double angle = dy == 0.0 ? 0.0 : std::atan((swing.x - swing.anchorX) / dy);
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    swing.velocityX -= c * s;
    if (angle > 0.0)
        swing.velocityY += s * s;
    else
        swing.velocityY -= s * s;
    swing.x += swing.velocityX;
    swing.y = swing.anchorY + swing.ropeLength * c;
}

void BM_Tick(benchmark::State& state)
{
    World world;
    HangSwings(world, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        world.Tick();
        Revive(state, world);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Tick)->Apply(SwingCounts)->Arg(100000)->Unit(benchmark::kMicrosecond);

// BM_Tick records its game, as every game is recorded; this one records nothing.
void BM_TickUnrecorded(benchmark::State& state)
{
    World world;
    world.SetRecording(false);
    HangSwings(world, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        world.Tick();
        Revive(state, world);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TickUnrecorded)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// BM_Tick with the sound on: every event goes to a listening mixer.
void BM_TickHeard(benchmark::State& state)
{
    const SoundBank bank(48000);
    Mixer mixer(bank);
    mixer.SetListening(true);
    World world;
    world.SetEventSink(&mixer);
    HangSwings(world, static_cast<int>(state.range(0)));
    // A pass's worth of samples, taken as the sound device takes them: out of the timing.
    std::vector<std::int16_t> pass(480);
    for (auto _ : state) {
        world.Tick();
        Revive(state, world);
        state.PauseTiming();
        mixer.Render(pass);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TickHeard)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The tick as it was before shadows: a lock per swing fetched and the swing's motion from
// atan, sin and cos. No obstacles, as then.
void BM_TickAsBefore(benchmark::State& state)
{
    World world;
    HangSwings(world, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (int i = 0; i < world.GetSwingCount(); ++i) {
            if (const std::shared_ptr<Swing> swing = world.swings.GetAt(i))
                UpdateWithLibm(*swing);
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TickAsBefore)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_TickWithShadows(benchmark::State& state)
{
    World world;
    HangSwings(world, static_cast<int>(state.range(0)));
    AddShadows(world, 30);
    for (auto _ : state) {
        world.Tick();
        Revive(state, world);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TickWithShadows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_Draw(benchmark::State& state)
{
    GameScreen screen;
    LayOut(screen);
    HangSwings(screen.GetWorld(), static_cast<int>(state.range(0)));
    DeviceContext dc(FieldWidth, FieldHeight);
    for (auto _ : state) {
        screen.Draw(dc, "");
        benchmark::DoNotOptimize(dc.Image().constBits());
    }
}
BENCHMARK(BM_Draw)->Apply(SwingCounts)->Unit(benchmark::kMicrosecond);

// The same scene with 30 shadows of 40 px over it.
void BM_DrawWithShadows(benchmark::State& state)
{
    GameScreen screen;
    LayOut(screen);
    HangSwings(screen.GetWorld(), static_cast<int>(state.range(0)));
    AddShadows(screen.GetWorld(), 30);
    DeviceContext dc(FieldWidth, FieldHeight);
    for (auto _ : state) {
        screen.Draw(dc, "");
        benchmark::DoNotOptimize(dc.Image().constBits());
    }
}
BENCHMARK(BM_DrawWithShadows)->Arg(0)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Only the pixels of the scene: its ropes, weights and black field drawn straight into the
// device context, from geometry read beforehand, with no world, list or painter in between.
// What Draw costs beyond this is the price of reading the world and drawing through the Painter.
void BM_DrawShapesOnly(benchmark::State& state)
{
    World world;
    HangSwings(world, static_cast<int>(state.range(0)));
    struct Shape {
        Point anchor;
        Point weight;
        Rect box;
        ColorRef fill;
    };
    std::vector<Shape> shapes;
    for (int i = 0; i < world.GetSwingCount(); ++i) {
        const std::shared_ptr<Swing> swing = world.swings.GetAt(i);
        shapes.push_back({{swing->anchorX, swing->anchorY},
                          swing->GetPoint(),
                          swing->GetRect(),
                          GameScreen::SwingFill(i)});
    }
    DeviceContext dc(FieldWidth, FieldHeight);
    for (auto _ : state) {
        dc.SelectPen(Pen{0x000000, 1});
        dc.SelectBrush(Brush{0x000000});
        dc.Rectangle(0, 0, FieldWidth, FieldHeight);
        dc.SelectPen(Pen{0xFAFAFA, 1});
        for (const Shape& shape : shapes) {
            dc.MoveTo(shape.anchor.x, shape.anchor.y);
            dc.LineTo(shape.weight.x, shape.weight.y);
            dc.SelectBrush(Brush{shape.fill});
            dc.Ellipse(shape.box.left, shape.box.top, shape.box.right, shape.box.bottom);
        }
        benchmark::DoNotOptimize(dc.Image().constBits());
    }
}
BENCHMARK(BM_DrawShapesOnly)->Apply(SwingCounts)->Unit(benchmark::kMicrosecond);

// The same scene on a screen with a device pixel ratio of 2: four times the pixels.
void BM_DrawAtRatioTwo(benchmark::State& state)
{
    GameScreen screen;
    LayOut(screen);
    HangSwings(screen.GetWorld(), static_cast<int>(state.range(0)));
    DeviceContext dc(FieldWidth, FieldHeight, 2.0);
    for (auto _ : state) {
        screen.Draw(dc, "");
        benchmark::DoNotOptimize(dc.Image().constBits());
    }
}
BENCHMARK(BM_DrawAtRatioTwo)->Apply(SwingCounts)->Unit(benchmark::kMicrosecond);

void BM_ReferenceDraw(benchmark::State& state)
{
    World world;
    HangSwings(world, static_cast<int>(state.range(0)));
    QImage image(FieldWidth, FieldHeight, QImage::Format_RGB32);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(FontPixelSize(120));
    for (auto _ : state) {
        QPainter painter(&image);
        DrawReferenceScene(painter, world, font);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ReferenceDraw)->Apply(SwingCounts)->Unit(benchmark::kMicrosecond);

// One game pass as the game thread and the window share it: Tick, the time text, then the paint
// of the whole scene and the copy of the area to the window.
void BM_Pass(benchmark::State& state)
{
    GameScreen screen;
    LayOut(screen);
    HangSwings(screen.GetWorld(), static_cast<int>(state.range(0)));
    QImage window(FieldWidth, FieldHeight, QImage::Format_RGB32);
    Stopwatch stopwatch;
    stopwatch.Start();
    for (auto _ : state) {
        screen.Tick();
        screen.SetStatusText("[時間:" + FormatSeconds(stopwatch.GetSeconds()) + "秒]");
        QPainter painter(&window);
        screen.Paint(painter, "");
        painter.end();
        benchmark::DoNotOptimize(window.constBits());
    }
}
BENCHMARK(BM_Pass)->Apply(SwingCounts)->Unit(benchmark::kMicrosecond);

// Prints the runs as usual and keeps their times for the comparison at the end: wall-clock and
// CPU time, the median of the repetitions or, without repetitions, the one run. On a machine
// shared with other work the CPU time is the steadier of the two.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0.0;
        double cpu = 0.0;
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const Times measured{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.str()] = measured;
            else if (run.run_type == Run::RT_Iteration)
                times[run.run_name.str()] = measured;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    Times TimeOf(const std::string& name) const
    {
        if (const auto median = medians.find(name); median != medians.end())
            return median->second;
        const auto time = times.find(name);
        return time == times.end() ? Times{} : time->second;
    }

private:
    std::map<std::string, Times> times;
    std::map<std::string, Times> medians;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const int count : {0, 100, 1000, 10000}) {
        const auto draw = reporter.TimeOf("BM_Draw/" + std::to_string(count));
        const auto reference = reporter.TimeOf("BM_ReferenceDraw/" + std::to_string(count));
        if (draw.real > 0.0 && reference.real > 0.0)
            std::printf("Draw with %5d swings: %.1f times as fast as the reference renderer "
                        "(wall-clock), %.1f times (CPU time)\n",
                        count, reference.real / draw.real, reference.cpu / draw.cpu);
    }
    // The targets of the game's rule: shadows may at most double the tick, and 30 of them may
    // add at most 15 % to the drawing of 1,000 swings.
    const auto ratio = [&](const std::string& with, const std::string& without) {
        const auto a = reporter.TimeOf(with);
        const auto b = reporter.TimeOf(without);
        return b.cpu > 0.0 ? a.cpu / b.cpu : 0.0;
    };
    std::printf("Tick of 10,000 swings: with 30 shadows %.2f times without (target at most 2), "
                "as before %.2f times now\n",
                ratio("BM_TickWithShadows/10000", "BM_Tick/10000"),
                ratio("BM_TickAsBefore/10000", "BM_Tick/10000"));
    std::printf("Draw of 1,000 swings: with 30 shadows %.3f times without (target at most 1.15)\n",
                ratio("BM_DrawWithShadows/1000", "BM_Draw/1000"));
    return 0;
}
