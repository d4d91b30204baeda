#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "model/settings.h"
#include "model/world.h"
#include "stats/stat_texts.h"
#include "stats/statistics_text.h"

namespace zentorix {

// The last 114 live counts, in slots 25 to 138; the write position wraps from
// 138 back to 25. The graph's automatic Y scale reads it.
class LiveHistory {
  public:
    static constexpr int kFirstSlot = 25;
    static constexpr int kLastSlot = 138;

    void Push(std::int32_t live) {
        position_ = position_ < kFirstSlot || position_ >= kLastSlot ? kFirstSlot : position_ + 1;
        slots_[position_ - kFirstSlot] = live;
    }
    // Slots outside 25..138 read 0.
    std::int32_t Slot(int slot) const {
        return slot < kFirstSlot || slot > kLastSlot ? 0 : slots_[slot - kFirstSlot];
    }
    int Position() const { return position_; }

  private:
    std::array<std::int32_t, kLastSlot - kFirstSlot + 1> slots_{};
    int position_ = 0;
};

// Colours of AutoStartRecordPanel, as 0xRRGGBB.
namespace panel_colour {
inline constexpr std::uint32_t Lime = 0x00FF00;        // automatic start armed
inline constexpr std::uint32_t MoneyGreen = 0xC0DCC0;  // not armed, or ended normally
inline constexpr std::uint32_t Yellow = 0xFFFF00;      // automatic recording running
inline constexpr std::uint32_t Aqua = 0x00FFFF;        // recording started by hand
inline constexpr std::uint32_t Red = 0xFF0000;         // died out, or the file failed
}  // namespace panel_colour

struct RecordingPanel {
    std::uint32_t colour = panel_colour::MoneyGreen;
    std::string caption = "AutoStart";
};

// Recording of "stat.txt": by hand (RecordStatisticButton) or automatically
// between StartRecordStatistic and EndRecordStatistic, ending early when the
// population dies out. The file is opened, written and closed on every write, so
// it is complete on disk after every generation. The automatic-start switch is
// Settings::AutoStartRecord; the recorder switches it off when a recording ends.
class StatisticsRecorder {
  public:
    explicit StatisticsRecorder(std::filesystem::path file);

    const std::filesystem::path& File() const { return file_; }
    void SetFile(std::filesystem::path file) { file_ = std::move(file); }
    void SetTexts(StatTexts texts) { texts_ = std::move(texts); }
    // The header's time and date; the local clock unless replaced.
    void SetClock(std::function<std::string()> clock) { clock_ = std::move(clock); }

    // After every generation, with its counts complete and Generation its number.
    // Does not draw the graph: whoever owns both calls the graph right after
    // History() took the live count.
    void RecordGenerationStatistics(const World& world, Settings& settings);
    // Starts a recording when none runs, ends it otherwise.
    void RecordStatisticButtonClick(const World& world, Settings& settings);
    // The check box AutoStartRecord took the state `on`.
    void AutoStartRecordClick(Settings& settings, bool on);
    // The run was stopped (Generation back to 1): a running recording ends here,
    // so its data lines never restart at 1.
    void RunStopped(const World& world, Settings& settings);

    bool Recording() const { return recording_; }
    bool DiedOut() const { return diedOut_; }
    const RecordingPanel& Panel() const { return panel_; }
    // Grows whenever the panel or AutoStartRecord changed, so a window refreshes
    // only then.
    std::uint64_t Changes() const { return changes_; }
    const LiveHistory& History() const { return history_; }
    const StatisticsTotals& Totals() const { return totals_; }
    std::int64_t LinesWritten() const { return lines_; }
    // A write failure of the current recording, reported once: the text for the
    // user, empty when there is nothing new.
    std::string TakeFailure();

  private:
    void WriteStatisticsHeader(const World& world, Settings& settings);
    void WriteStatisticsFooter(const World& world, Settings& settings);
    void Write(std::string_view text, bool replace, Settings& settings);
    void SetPanel(std::uint32_t colour);
    void SetCaption(std::string caption);

    std::filesystem::path file_;
    StatTexts texts_ = DefaultStatTexts();
    std::function<std::string()> clock_;
    LiveHistory history_;
    StatisticsTotals totals_;
    RecordingPanel panel_;
    std::int64_t lines_ = 0;
    std::uint64_t changes_ = 0;
    std::string failure_;
    bool failureNew_ = false;
    bool recording_ = false;
    bool diedOut_ = false;
};

}  // namespace zentorix
