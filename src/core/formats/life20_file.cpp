#include "formats/life20_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "engine/rule_text.h"
#include "rules/rule_editor.h"

namespace zentorix {

namespace {

constexpr int kHeaderRecords = 16;
// Staging cells exist from -3 up to this index; data beyond it is skipped.
constexpr std::int64_t kStagingLimit = 999;
// The flags name the inner positions in the file's order.
constexpr std::array<const char*, 9> kFlagNames = {"NW", "NN", "NE", "WW", "ME",
                                                   "EE", "SW", "SS", "SE"};

// Little-endian 32-bit records from a file whose length is known, so a record
// count can be checked against it before anything is read.
class RecordFile {
  public:
    explicit RecordFile(const std::filesystem::path& path) : in_(path, std::ios::binary) {
        if (in_) {
            in_.seekg(0, std::ios::end);
            const std::streamoff size = in_.tellg();
            in_.seekg(0);
            records_ = size > 0 ? static_cast<std::int64_t>(size) / 4 : 0;
        }
    }
    bool IsOpen() const { return static_cast<bool>(in_); }
    // Records not yet read; a partial record at the end does not count.
    std::int64_t Remaining() const { return records_ - position_; }

    bool Next(std::int32_t& value) {
        std::array<unsigned char, 4> b{};
        if (Remaining() < 1 || !in_.read(reinterpret_cast<char*>(b.data()), 4))
            return false;
        ++position_;
        value = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
            static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
        return true;
    }
    // Reads `count` records from record `index` on; false when they are not there.
    bool ReadAt(std::int64_t index, std::vector<std::int32_t>& out, std::size_t count) {
        out.resize(count);
        in_.seekg(static_cast<std::streamoff>(index) * 4);
        position_ = index;
        for (std::int32_t& v : out)
            if (!Next(v))
                return false;
        return true;
    }

  private:
    std::ifstream in_;
    std::int64_t records_ = 0;
    std::int64_t position_ = 0;
};

// Size that the placement treats alike for every larger value.
int PlacementSize(std::int64_t size) {
    return static_cast<int>(std::clamp<std::int64_t>(size, -1000, kMaxFieldSize));
}

}  // namespace

void ReadLife20File(World& world, Settings& settings, const std::filesystem::path& file,
                    PanelSize panel) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return;
    RecordFile records(file);
    if (!records.IsOpen())
        return;
    BeginPatternLoad(world, settings, file, "Life 2.0");

    std::array<std::int32_t, kHeaderRecords> head{};
    for (int i = 0; i < kHeaderRecords; ++i) {
        if (!records.Next(head[i]))
            return;
        if (i == 14)
            settings.Colours.ShowBirthCells = head[i] == 1;
    }
    const std::int32_t birth = head[2], survivalMax = head[3], survivalMin = head[4];
    std::string rule = "#R RB" + std::to_string(birth) + ",";
    // A survival list holds at most kMaxListEntries sums: a range wider than
    // that would only make a text the rule reader cuts anyway.
    const std::int64_t lastSurvival =
        std::min<std::int64_t>(survivalMax, std::int64_t{survivalMin} + kMaxListEntries - 1);
    for (std::int64_t s = survivalMin; s <= lastSurvival; ++s)
        rule += "RS" + std::to_string(s) + ",";
    for (int i = 0; i < 9; ++i)
        rule += std::string(kFlagNames[i]) + (head[5 + i] == 1 ? "1," : "0,");

    // Small patterns carry a frame of two cells more than their stated size.
    std::int64_t w = head[0], h = head[1];
    if (w < 150) {
        w += 2;
        h += 2;
    }
    // The states follow column by column, rows -3..h of columns -3..w. The
    // stride is the file's own height, whatever the field's size; the whole
    // block must be there, or nothing is placed.
    const std::int64_t columns = w >= -3 ? w + 4 : 0;
    const std::int64_t stride = h >= -3 ? h + 4 : 0;
    if (stride != 0 && columns > records.Remaining() / stride)
        return;
    const std::int64_t lastColumn = std::min(w, kStagingLimit);
    const std::int64_t lastRow = std::min(h, kStagingLimit);
    std::vector<std::int32_t> column;
    for (std::int64_t x = -3; x <= lastColumn && lastRow >= -3; ++x) {
        const std::int64_t first = kHeaderRecords + (x + 3) * stride;
        if (!records.ReadAt(first, column, static_cast<std::size_t>(lastRow + 4)))
            return;
        for (std::int64_t y = -3; y <= lastRow; ++y)
            world.StagingGrid.at(static_cast<int>(x), static_cast<int>(y)) =
                column[static_cast<std::size_t>(y + 3)];
    }

    PlacePattern(world, settings, PlacementSize(w), PlacementSize(h), true, panel);
    ParseRuleString(world, rule + "HI0", kFamilyZentorix, settings.LoadRulesSelector);
}

}  // namespace zentorix
