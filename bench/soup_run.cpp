// A batch run for comparing with other simulators: a 50% random soup on a 997 by
// 997 field, torus mode (the torus is 998 by 998: column and row 0 start empty),
// stepped N generations. Prints the time of the steps and the population after
// every few generations, and can write the soup as RLE so that another program
// can run the very same cells.
//
//   zentorix_soup [life|generations] [generations] [threads] [soup.rle] [baseline]
//   zentorix_soup files FOLDER    writes FOLDER/life.rle (B3/S23) and
//                                 FOLDER/generations.mcl (/2/3, wrapped) of the soup
//
// "life" is B3/S23; "generations" is the Generations rule /2/3 (no survival,
// birth on 2, three states). threads 0 takes every processor. "baseline" keeps
// to the kernels built for the baseline instruction set.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "engine/generation_step.h"
#include "engine/rule_text.h"
#include "engine/step_engine.h"
#include "rules/rule_editor.h"
#include "soup.h"

namespace {

using namespace zentorix;

constexpr int kSide = 997;

// Run-length text of the soup, rows top to bottom, as RLE readers expect.
bool WriteRle(const World& world, const std::string& rule, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "x = " << kSide << ", y = " << kSide << ", rule = " << rule << "\n";
    std::string line;
    auto emit = [&](int count, char tag) {
        std::string item = count > 1 ? std::to_string(count) + tag : std::string(1, tag);
        if (line.size() + item.size() > 70) {
            out << line << "\n";
            line.clear();
        }
        line += item;
    };
    for (int y = 1; y <= kSide; ++y) {
        int run = 0;
        char tag = 'b';
        for (int x = 1; x <= kSide; ++x) {
            const char t = world.MainField.at(x, y) > 0 ? 'o' : 'b';
            if (t != tag && run > 0) {
                emit(run, tag);
                run = 0;
            }
            tag = t;
            ++run;
        }
        if (tag == 'o')
            emit(run, tag);  // trailing dead cells are implied
        emit(1, y == kSide ? '!' : '$');
    }
    out << line << "\n";
    return static_cast<bool>(out);
}

// The same soup as an MCell Generations file on a wrapped board.
bool WriteMCell(const World& world, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "#MCell 4.20\n#GAME Generations\n#RULE /2/3\n#BOARD " << kSide << "x" << kSide
        << "\n#WRAP 1\n";
    for (int y = 1; y <= kSide; ++y) {
        std::string row = "#L ";
        int run = 0;
        char tag = '.';
        auto emit = [&] {
            if (run > 1)
                row += std::to_string(run);
            row += tag;
        };
        for (int x = 1; x <= kSide; ++x) {
            const char t = world.MainField.at(x, y) > 0 ? 'A' : '.';
            if (t != tag && run > 0) {
                emit();
                run = 0;
            }
            tag = t;
            ++run;
        }
        if (tag == 'A')
            emit();
        out << row << "$\n";
    }
    return static_cast<bool>(out);
}

void FillSoup(World& world) {
    bench::FillSoup(world, kSide, 20240601);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string which = argc > 1 ? argv[1] : "life";
    if (which == "files" && argc > 2) {
        auto world = std::make_unique<World>();
        FillSoup(*world);
        const std::string folder = argv[2];
        return WriteRle(*world, "B3/S23", folder + "/life.rle") &&
                       WriteMCell(*world, folder + "/generations.mcl")
                   ? 0
                   : 1;
    }
    const int generations = argc > 2 ? std::atoi(argv[2]) : 1000;
    const unsigned threads = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 0;
    const std::string rlePath = argc > 4 ? argv[4] : "";
    const bool baseline = argc > 5 && std::string(argv[5]) == "baseline";
    const bool life = which != "generations";

    auto world = std::make_unique<World>();
    world->StepCaches = std::make_shared<StepEngine>(threads);
    world->StepCaches->SetBaselineOnly(baseline);
    Settings settings;
    settings.EnableTOR = true;
    if (life)
        ParseRuleString(*world, "B3/S23", "OldLife", 0);
    else
        ParseRuleString(*world, "/2/3", "Generations", 0);
    FillSoup(*world);
    if (!rlePath.empty() &&
        !WriteRle(*world, life ? "B3/S23:T998,998" : "/2/3:T998,998", rlePath)) {
        std::fprintf(stderr, "cannot write %s\n", rlePath.c_str());
        return 1;
    }

    StepObserver quiet;
    const auto start = std::chrono::steady_clock::now();
    for (int g = 1; g <= generations; ++g) {
        GenerationStep(*world, settings, quiet, StepForm::Torus);
        if (g % 100 == 0 || g == generations)
            std::printf("%d: %d\n", g, static_cast<int>(world->Counters.LiveCount));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s, %d generations, %u threads, %s kernels: %.3f s (%.3f ms per generation)\n",
                life ? "B3/S23" : "/2/3", generations, world->StepCaches->Threads(),
                world->StepCaches->UsesWideKernels() ? "AVX2" : "baseline", seconds,
                1000.0 * seconds / generations);
    return 0;
}
