#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/rule_text.h"
#include "rules/rule_editor.h"

namespace zentorix {
namespace {

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
        surface = {pixels.data(), kWidth, kWidth, kHeight, g.originX,
                   g.originY,     g.cell, g.lead, g.trail, &Pixel};
        return direct ? &surface : nullptr;
    }
};

TEST(RepaintSurface, PaintsExactlyWhatTheCellCallsPaint) {
    const char* rules[] = {"RB3,RS2,RS3,", "HI5,RB2,RS3,RS4,"};  // over the start-up weights
    const Geometry geometries[] = {{1, 0, 0, 0, 0, {1, 1, 300, 280}},
                                   {7, 2, 1, 11, -5, {3, 2, 90, 70}},
                                   {4, 1, 0, -20, 13, {1, 1, 300, 280}}};
    for (int round = 0; round < 6; ++round) {
        Settings settings;
        settings.Colours.ShowBirthCells = round % 2 == 0;
        settings.Colours.ShowDeadCells = round % 3 != 1;
        ImageObserver views[2] = {{geometries[round % 3], false}, {geometries[round % 3], true}};
        for (ImageObserver& view : views) {
            auto w = std::make_unique<World>();
            w->SetFieldWidth(300);
            w->SetFieldHeight(280);
            ParseRuleString(*w, rules[round % 2], "Zentorix", 0);
            w->Random.FixSeed(100 + round);
            for (int x = 1; x <= 300; ++x)
                for (int y = 1; y <= 280; ++y)
                    w->MainField.at(x, y) = w->Random.Below(3) == 0 ? 1 + w->Random.Below(300) : 0;
            for (int gen = 0; gen < 6; ++gen)
                GenerationStep(*w, settings, view, StepForm::Plain);
        }
        ASSERT_EQ(views[0].pixels, views[1].pixels) << "round " << round;
    }
}

}  // namespace
}  // namespace zentorix
