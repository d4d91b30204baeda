#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/rule_text.h"
#include "rules/rule_editor.h"
#include "view/field_frame.h"

namespace zentorix {
namespace {

using test::Cells;
using test::Draw;
using Values = std::vector<int>;

// A 30 by 30 field under the start-up rules (rule set 0 is B3/S23).
struct StepTest : ::testing::Test {
    std::unique_ptr<World> world = std::make_unique<World>();
    StateField& main = world->MainField;
    Settings settings;
    test::RecordingObserver observer;

    void SetUp() override {
        world->SetFieldWidth(30);
        world->SetFieldHeight(30);
    }
    void Step(StepForm form = StepForm::Plain) {
        reference::GenerationStep(*world, settings, observer, form);
    }
    void Rule(const char* tokens) { ParseRuleString(*world, tokens, "Zentorix", 0); }
    Cells Live() const { return test::LiveCells(main, -11, -11, 40, 40); }
    Values At(std::initializer_list<std::pair<int, int>> cells) const {
        Values v;
        for (auto [x, y] : cells)
            v.push_back(main.at(x, y));
        return v;
    }
    // Live, state-1, born and died counts and the generation the next step computes.
    std::array<int, 5> Counts() const {
        const GenerationCounters& c = world->Counters;
        return {c.LiveCount, c.StateOneCount, c.BornCount, c.DiedCount, c.Generation};
    }
};

TEST_F(StepTest, BlinkerTurnsWithItsCounts) {
    Draw(main, 10, 10, {"***"});
    Step();
    EXPECT_EQ(Live(), (Cells{{11, 9}, {11, 10}, {11, 11}}));
    EXPECT_EQ(Counts(), (std::array{3, 2, 2, 2, 2}));  // the centre has aged to 2
    EXPECT_EQ(observer.counts.at(0).Generation, 1);    // statistics see generation 1
    // A cell painted where one just died: frames show the death
    // colour only where deaths are shown, else state 1's.
    main.at(10, 10) = 1;
    for (bool shown : {false, true}) {
        settings.Colours.ShowDeadCells = shown;
        const FieldFrames frames(settings.Colours);
        std::vector<std::uint8_t> pixel;
        frames.Render(*world, {10, 10, 10, 10}, 1, pixel);
        EXPECT_EQ(frames.Palette().at(pixel.at(0)), shown ? 0xA0A0A4u : 0xFFE700u);
    }
}

TEST_F(StepTest, HistoryDecayCountsTheDeathWhenTheLastStateEndsAndIsNoNeighbour) {
    world->Rules[0] = world->Rules[1];  // born with 2, never survives, three states
    main.at(5, 5) = 1;
    Step();
    EXPECT_EQ(std::pair(main.at(5, 5), Counts()), std::pair(2, std::array{1, 0, 0, 0, 2}));
    Step();
    EXPECT_EQ(std::pair(main.at(5, 5), Counts()), std::pair(0, std::array{0, 0, 0, 1, 3}));

    // Only state 1 counts: two live cells and a decaying one give the sum 2 that
    // this rule is born with, and decay goes on whatever the neighbours.
    Rule("HI4,RB3,");
    Draw(main, 5, 5, {"A.B", "...", "A.."});
    Step();
    EXPECT_EQ(At({{6, 6}, {7, 5}}), (Values{0, 3}));
}

TEST_F(StepTest, AgesRunThroughThePaletteAndWrapOrTakeTheColourPhase) {
    settings.Colours.GenColourCount = 3;
    Draw(main, 5, 5, {"**", "**"});
    Values ages;
    for (int i = 0; i < 4; ++i) {
        Step();
        ages.push_back(main.at(5, 5));
    }
    EXPECT_EQ(ages, (Values{2, 3, 1, 2}));

    // In colour mode newborns take the phase and survivors keep their value.
    main.Clear();
    settings.Colours.ColorMode = true;
    settings.Colours.GenColourCount = 4;
    world->Counters.ColourPhase = 3;
    Draw(main, 10, 10, {"***"});
    Step();
    EXPECT_EQ(std::pair(At({{11, 9}, {11, 10}}), world->Counters.ColourPhase),
              std::pair(Values{3, 1}, 4));
    Step();
    EXPECT_EQ(std::pair(main.at(10, 10), world->Counters.ColourPhase), std::pair(4, 1));
}

TEST_F(StepTest, RepaintPaintsStateThenHighlights) {
    settings.Colours.ShowBirthCells = true;
    settings.Colours.ShowDeadCells = true;
    observer.window = {9, 9, 11, 11};
    Draw(main, 10, 10, {"***"});
    Step();
    const ColourModel& c = settings.Colours;
    using Drawn = test::RecordingObserver::Drawn;
    const std::vector<Drawn> expected = {{10, 10, c.BackgroundColour}, {10, 10, c.DeadColour},
                                         {11, 9, c.ColourOfState(1)},  {11, 9, c.BirthColour},
                                         {11, 10, c.ColourOfState(2)}, {11, 11, c.ColourOfState(1)},
                                         {11, 11, c.BirthColour}};
    EXPECT_EQ(observer.drawn, expected);
}

// Where cell (1, 1) starts in the image, how large cells are and what part of
// each is painted, and which cells are visible.
struct Geometry {
    int cell, lead, trail, originX, originY;
    CellRect window;
};

// A 400 by 300 image painted either cell by cell through DrawCell or directly
// as a surface; both must come out the same.
struct ImageObserver : StepObserver {
    static constexpr int kWidth = 400, kHeight = 300;
    Geometry g;
    bool direct;
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(kWidth * kHeight, 0xABCDEF);
    PixelSurface surface;

    ImageObserver(const Geometry& geometry, bool d) : g(geometry), direct(d) {}
    static std::uint32_t Pixel(Colour c) { return static_cast<std::uint32_t>(c) ^ 0x5A000000u; }

    CellRect VisibleWindow() const override { return g.window; }
    void DrawCell(int x, int y, Colour colour) override {
        for (int py = (y - 1) * g.cell + g.lead; py < y * g.cell - g.trail; ++py)
            for (int px = (x - 1) * g.cell + g.lead; px < x * g.cell - g.trail; ++px) {
                const int ix = px - g.originX, iy = py - g.originY;
                if (ix >= 0 && iy >= 0 && ix < kWidth && iy < kHeight)
                    pixels[static_cast<std::size_t>(iy * kWidth + ix)] = Pixel(colour);
            }
    }
    PixelSurface* Surface() override {
        surface = {.pixels = pixels.data(),
                   .stride = kWidth,
                   .width = kWidth,
                   .height = kHeight,
                   .originX = g.originX,
                   .originY = g.originY,
                   .cellSize = g.cell,
                   .insetLead = g.lead,
                   .insetTrail = g.trail,
                   .toPixel = &Pixel};
        return direct ? &surface : nullptr;
    }
};

// A 300 by 280 field, a third of it live with states 1..maxState.
std::unique_ptr<World> Soup(const char* rule, const char* family, int seed, int maxState) {
    auto w = std::make_unique<World>();
    w->SetFieldWidth(300);
    w->SetFieldHeight(280);
    ParseRuleString(*w, rule, family, 0);
    w->Random.FixSeed(seed);
    for (int x = 1; x <= 300; ++x)
        for (int y = 1; y <= 280; ++y)
            w->MainField.at(x, y) = w->Random.Below(3) == 0 ? 1 + w->Random.Below(maxState) : 0;
    return w;
}

TEST(RepaintSurface, PaintsExactlyWhatTheCellCallsPaint) {
    const char* rules[] = {"RB3,RS2,RS3,", "HI5,RB2,RS3,RS4,"};  // over the start-up weights
    // One pixel a cell at the image's corner and scrolled, larger cells.
    const Geometry geometries[] = {{1, 0, 0, 0, 0, {1, 1, 300, 280}},
                                   {7, 2, 1, 11, -5, {3, 2, 90, 70}},
                                   {4, 1, 0, -20, 13, {1, 1, 300, 280}},
                                   {1, 0, 0, 30, 20, {1, 1, 300, 280}}};
    for (int round = 0; round < 8; ++round) {
        Settings settings;
        settings.Colours.ShowBirthCells = round % 2 == 0;
        settings.Colours.ShowDeadCells = round % 3 != 1;
        ImageObserver views[2] = {{geometries[round % 4], false}, {geometries[round % 4], true}};
        for (ImageObserver& view : views) {
            auto w = Soup(rules[round % 2], "Zentorix", 100 + round, 300);
            for (int gen = 0; gen < 6; ++gen)
                GenerationStep(*w, settings, view, StepForm::Plain);
        }
        ASSERT_EQ(views[0].pixels, views[1].pixels) << "round " << round;
    }
}

// A view that skipped generations paints the whole window at once: a full
// redraw (the background) followed by the last generation's repaint. The
// windows reach past the image's right edge.
TEST(RepaintSurface, WholeWindowPaintIsRedrawAndRepaint) {
    const Geometry geometries[] = {{1, 0, 0, 0, 0, {1, 1, 420, 280}},
                                   {4, 1, 0, -20, 13, {1, 1, 300, 280}}};
    for (int round = 0; round < 4; ++round) {
        Settings settings;
        settings.Colours.ShowBirthCells = round % 2 == 0;
        settings.Colours.ShowDeadCells = round != 1;
        auto w = Soup("B3/S23", "OldLife", 200 + round, 1);
        StepObserver quiet;
        for (int gen = 0; gen < 3 + round; ++gen)
            GenerationStep(*w, settings, quiet, StepForm::Plain);
        ImageObserver direct(geometries[round % 2], true), cells(geometries[round % 2], false);
        const std::uint32_t background = ImageObserver::Pixel(settings.Colours.BackgroundColour);
        const CellRect& shown = geometries[round % 2].window;
        for (int cx = shown.FirstColumn; cx <= shown.LastColumn; ++cx)
            for (int cy = shown.FirstRow; cy <= shown.LastRow; ++cy)
                cells.DrawCell(cx, cy, settings.Colours.BackgroundColour);
        PaintVisibleCells(*w, settings, direct);
        PaintVisibleCells(*w, settings, cells);
        ASSERT_EQ(direct.pixels, cells.pixels) << "round " << round;
        EXPECT_NE(std::count(direct.pixels.begin(), direct.pixels.end(), background), 0);
    }
    // An empty cell shows the Eternal Life layer where it holds a cell.
    auto w = std::make_unique<World>();
    w->EternalLifeField.at(2, 3) = 1;
    Settings settings;
    ImageObserver direct(geometries[0], true);
    PaintVisibleCells(*w, settings, direct);
    EXPECT_EQ(std::pair(direct.pixels[2 * ImageObserver::kWidth + 1],
                        direct.pixels[2 * ImageObserver::kWidth + 2]),
              std::pair(ImageObserver::Pixel(settings.Colours.BirthColour),
                        ImageObserver::Pixel(settings.Colours.BackgroundColour)));
}

}  // namespace
}  // namespace zentorix
