#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/test_support.h"
#include "engine/generation_step.h"
#include "engine/rule_text.h"

namespace zentorix {
namespace {

// A small image painted either cell by cell through DrawCell or directly as a
// surface; both must come out the same.
struct ImageObserver : StepObserver {
    int width, height, cell, lead, trail, originX, originY;
    bool direct;
    CellRect window;
    std::vector<std::uint32_t> pixels;
    PixelSurface surface;

    ImageObserver(int w, int h, int c, int l, int t, int ox, int oy, bool d, CellRect win)
        : width(w),
          height(h),
          cell(c),
          lead(l),
          trail(t),
          originX(ox),
          originY(oy),
          direct(d),
          window(win),
          pixels(static_cast<std::size_t>(w * h), 0xABCDEF) {}

    static std::uint32_t Pixel(Colour c) { return static_cast<std::uint32_t>(c) ^ 0x5A000000u; }

    CellRect VisibleWindow() const override { return window; }
    void DrawCell(int x, int y, Colour colour) override {
        for (int py = (y - 1) * cell + lead; py < y * cell - trail; ++py)
            for (int px = (x - 1) * cell + lead; px < x * cell - trail; ++px) {
                const int ix = px - originX, iy = py - originY;
                if (ix >= 0 && iy >= 0 && ix < width && iy < height)
                    pixels[static_cast<std::size_t>(iy * width + ix)] = Pixel(colour);
            }
    }
    PixelSurface* Surface() override {
        if (!direct)
            return nullptr;
        surface = {pixels.data(), width, width, height, originX,
                   originY,       cell,  lead,  trail,  &Pixel};
        return &surface;
    }
};

TEST(RepaintSurface, PaintsExactlyWhatTheCellCallsPaint) {
    const char* rules[] = {"NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI0,EX0,RB3,RS2,RS3,",
                           "NW1,NN1,NE1,WW1,ME0,EE1,SW1,SS1,SE1,HI5,EX0,RB2,RS3,RS4,"};
    struct Geometry {
        int cell, lead, trail, originX, originY;
        CellRect window;
    };
    const Geometry geometries[] = {{1, 0, 0, 0, 0, {1, 1, 300, 280}},
                                   {7, 2, 1, 11, -5, {3, 2, 90, 70}},
                                   {4, 1, 0, -20, 13, {1, 1, 300, 280}}};
    for (int round = 0; round < 6; ++round) {
        const Geometry& g = geometries[round % 3];
        std::unique_ptr<World> worlds[2] = {std::make_unique<World>(), std::make_unique<World>()};
        Settings settings;
        settings.Colours.ShowBirthCells = round % 2 == 0;
        settings.Colours.ShowDeadCells = round % 3 != 1;
        ImageObserver views[2] = {
            {400, 300, g.cell, g.lead, g.trail, g.originX, g.originY, false, g.window},
            {400, 300, g.cell, g.lead, g.trail, g.originX, g.originY, true, g.window}};
        for (int k = 0; k < 2; ++k) {
            World& w = *worlds[k];
            w.SetFieldWidth(300);
            w.SetFieldHeight(280);
            ParseRuleString(w, rules[round % 2], "Zentorix", 0);
            w.Random.FixSeed(100 + round);
            for (int x = 1; x <= 300; ++x)
                for (int y = 1; y <= 280; ++y)
                    w.MainField.at(x, y) = w.Random.Below(3) == 0 ? 1 + w.Random.Below(300) : 0;
            for (int gen = 0; gen < 6; ++gen)
                GenerationStep(w, settings, views[k], StepForm::Plain);
        }
        ASSERT_EQ(views[0].pixels, views[1].pixels) << "round " << round;
    }
}

}  // namespace
}  // namespace zentorix
