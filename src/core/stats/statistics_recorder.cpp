#include "stats/statistics_recorder.h"

#include "engine/rule_text.h"
#include "formats/local_time.h"

namespace zentorix {

StatisticsRecorder::StatisticsRecorder(std::filesystem::path file) : file_(std::move(file)) {
    clock_ = [] {
        const LocalDateTime now = CurrentLocalTime();
        return FormatTime(now) + " " + FormatDate(now);
    };
}

void StatisticsRecorder::SetPanel(std::uint32_t colour) {
    if (panel_.colour != colour) {
        panel_.colour = colour;
        ++changes_;
    }
}

void StatisticsRecorder::SetCaption(std::string caption) {
    if (panel_.caption != caption) {
        panel_.caption = std::move(caption);
        ++changes_;
    }
}

void StatisticsRecorder::RecordGenerationStatistics(const World& world, Settings& settings) {
    const GenerationCounters& c = world.Counters;
    history_.Push(c.LiveCount);
    if (settings.AutoStartRecord && c.Generation == settings.StartRecordStatistic) {
        SetPanel(panel_colour::Yellow);
        recording_ = true;
        WriteStatisticsHeader(world, settings);
    }
    if (!recording_)
        return;
    SetCaption(std::to_string(c.Generation));
    Write(StatisticsDataLine(c.Generation, c.LiveCount, c.StateOneCount, c.BornCount, c.DiedCount),
          false, settings);
    if (!recording_)
        return;  // the file failed
    ++lines_;
    totals_.live += c.LiveCount;
    totals_.born += c.BornCount;
    totals_.died += c.DiedCount;
    if (c.LiveCount == 0 && settings.AutoStartRecord) {
        SetPanel(panel_colour::Red);
        diedOut_ = true;
        WriteStatisticsFooter(world, settings);
        recording_ = false;
    } else if (settings.AutoStartRecord && c.Generation >= settings.EndRecordStatistic) {
        SetPanel(panel_colour::MoneyGreen);
        diedOut_ = false;
        WriteStatisticsFooter(world, settings);
        recording_ = false;
    }
}

void StatisticsRecorder::RecordStatisticButtonClick(const World& world, Settings& settings) {
    if (recording_) {
        recording_ = false;
        diedOut_ = false;
        WriteStatisticsFooter(world, settings);
    } else {
        recording_ = true;
        WriteStatisticsHeader(world, settings);
    }
}

void StatisticsRecorder::AutoStartRecordClick(Settings& settings, bool on) {
    if (settings.AutoStartRecord != on)
        ++changes_;
    settings.AutoStartRecord = on;
    SetPanel(on ? panel_colour::Lime : panel_colour::MoneyGreen);
    SetCaption("AutoStart");
}

void StatisticsRecorder::RunStopped(const World& world, Settings& settings) {
    if (!recording_)
        return;
    recording_ = false;
    diedOut_ = false;
    WriteStatisticsFooter(world, settings);
}

void StatisticsRecorder::WriteStatisticsHeader(const World& world, Settings& settings) {
    const std::int32_t generation = world.Counters.Generation;
    SetCaption(std::to_string(generation));
    if (!settings.AutoStartRecord)
        SetPanel(panel_colour::Aqua);
    totals_ = {};
    lines_ = 0;
    failure_.clear();
    failureNew_ = false;
    StatisticsHeaderFacts facts;
    facts.timeAndDate = clock_();
    facts.fileName = world.CurrentFileName;
    facts.description = world.Description;
    facts.rule = RuleToString(world, 0, 0);
    facts.eternalLife = settings.EternalLifeOn;
    facts.eternalDead = settings.EternalDeadOn;
    facts.otherRules = settings.OtherRealityOn;
    facts.autoStart = settings.AutoStartRecord;
    facts.start = settings.StartRecordStatistic;
    facts.end = settings.EndRecordStatistic;
    facts.generation = generation;
    Write(StatisticsHeaderText(texts_, facts), true, settings);
}

void StatisticsRecorder::WriteStatisticsFooter(const World& world, Settings& settings) {
    if (settings.AutoStartRecord)
        AutoStartRecordClick(settings, false);
    SetPanel(diedOut_ ? panel_colour::Red : panel_colour::MoneyGreen);
    // N counts the data lines written: neither the Stop command's reset of the
    // generation nor a footer written between two steps can make it wrong.
    std::optional<std::int64_t> diedOutAt;
    if (diedOut_)
        diedOutAt = world.Counters.Generation;
    if (failure_.empty())
        Write(StatisticsFooterText(texts_, totals_, lines_, diedOutAt), false, settings);
}

void StatisticsRecorder::Write(std::string_view text, bool replace, Settings& settings) {
    if (!failure_.empty())
        return;
    const auto problem = WriteStatisticsText(file_, text, replace);
    if (!problem)
        return;
    // A file that cannot be written ends the recording: a file with holes in it
    // would tell wrong totals. The user hears of it once, the run goes on, and
    // the automatic start is disarmed as after any recording.
    failure_ = file_.string() + ": " + *problem;
    settings.AutoStartRecord = false;
    failureNew_ = true;
    recording_ = false;
    diedOut_ = false;
    ++changes_;
    SetPanel(panel_colour::Red);
}

std::string StatisticsRecorder::TakeFailure() {
    if (!failureNew_)
        return {};
    failureNew_ = false;
    return failure_;
}

}  // namespace zentorix
