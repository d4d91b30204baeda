#include "formats/field_section.h"

#include <algorithm>

namespace zentorix {

namespace {

constexpr std::int32_t kHighestSymbolState = 264;

// Builds the data lines: runs become tokens, row ends are held back until the
// next run so that trailing empty cells and rows are never written.
class SectionWriter {
  public:
    SectionWriter(TextBuilder& out, std::string_view prefix) : out_(out), prefix_(prefix) {}

    void Row(const std::int32_t* cells, int count) {
        std::int32_t runState = 0;
        int runLength = 0;
        firstRunInRow_ = true;
        for (int i = 0; i < count; ++i) {
            const std::int32_t s = std::clamp(cells[i], 0, kHighestSymbolState);
            if (s == runState) {
                ++runLength;
                continue;
            }
            if (runLength >= 1)
                Emit(runState, runLength);
            runState = s;
            runLength = 1;
        }
        if (runState != 0)
            Emit(runState, runLength);
        ++pendingRowEnds_;
    }

    void Finish() {
        std::string line(prefix_);
        line += buffer_;
        out_.Line(line);
    }

  private:
    void Emit(std::int32_t state, int length) {
        if (firstRunInRow_ && pendingRowEnds_ != 0) {
            if (pendingRowEnds_ > 1)
                buffer_ += std::to_string(pendingRowEnds_);
            buffer_ += '$';
            pendingRowEnds_ = 0;
        }
        firstRunInRow_ = false;
        token_.clear();
        if (length > 1)
            token_ += std::to_string(length);
        AppendCellSymbol(token_, state);
        if (buffer_.size() > 71) {
            std::string line(prefix_);
            line += buffer_;
            out_.Line(line);
            buffer_ = token_;
        } else {
            buffer_ += token_;
        }
    }

    TextBuilder& out_;
    std::string_view prefix_;
    std::string buffer_;
    std::string token_;
    int pendingRowEnds_ = 0;
    bool firstRunInRow_ = true;
};

}  // namespace

std::string_view FieldSectionPrefix(Layer layer) {
    switch (layer) {
        case Layer::EternalLife:
            return "#LB ";
        case Layer::EternalDead:
            return "#LD ";
        case Layer::OtherReality:
            return "#LR ";
        case Layer::Main:
            break;
    }
    return "#L ";
}

std::string_view FieldSectionKey(Layer layer) {
    return FieldSectionPrefix(layer).substr(0, 3);
}

void AppendCellSymbol(std::string& out, std::int32_t state) {
    const std::int32_t s = std::clamp(state, 0, kHighestSymbolState);
    if (s == 0) {
        out += '.';
    } else if (s <= 24) {
        out += static_cast<char>('A' + s - 1);
    } else {
        const int block = (s - 1) / 24;  // 1 for 25..48, ... 10 for 241..264
        out += static_cast<char>('a' + block - 1);
        out += static_cast<char>('A' + (s - block * 24) - 1);
    }
}

int BlockBase(char c) {
    return c >= 'a' && c <= 'j' ? (c - 'a' + 1) * 24 : -1;
}

std::int64_t RunCount(std::string_view digits) {
    std::int64_t n = 0;
    for (char d : digits) {
        n = n * 10 + (d - '0');
        if (n >= kCountLimit)
            return kCountLimit;
    }
    return n;
}

void WriteFieldSection(TextBuilder& out, const World& world, Layer layer, bool whole) {
    const StateField& field = world.LayerField(whole ? layer : Layer::Main);
    CellRect rect{0, 0, world.FieldWidth(), world.FieldHeight()};
    if (!whole)
        rect = world.Selection;
    SectionWriter writer(out, FieldSectionPrefix(whole ? layer : Layer::Main));
    std::vector<std::int32_t> row;
    if (!rect.Empty())
        row.resize(static_cast<std::size_t>(rect.LastColumn - rect.FirstColumn) + 1);
    for (int y = rect.FirstRow; y <= rect.LastRow && !rect.Empty(); ++y) {
        for (int x = rect.FirstColumn; x <= rect.LastColumn; ++x)
            row[static_cast<std::size_t>(x - rect.FirstColumn)] = field.Get(x, y);
        writer.Row(row.data(), static_cast<int>(row.size()));
    }
    writer.Finish();
}

bool ReadFieldSection(World& world, const std::vector<std::string>& lines, std::string_view key) {
    const int ex = world.ExtentX(), ey = world.ExtentY();
    StateField& staging = world.StagingGrid;
    staging.FillRect(-3, -3, ex, ey, 0);

    std::int64_t cx = 0, cy = 0;
    std::int32_t base = 0;
    std::string digits;
    bool found = false;
    // n cells of the current row from the current column take the state; cells
    // beyond the extents are cut off but the column still advances.
    auto put = [&](std::int64_t n, std::int32_t state) {
        if (cy <= ey) {
            const std::int64_t last = std::min<std::int64_t>(cx + n - 1, ex);
            for (std::int64_t x = cx; x <= last; ++x)
                staging.at(static_cast<int>(x), static_cast<int>(cy)) = state;
        }
        cx = std::min(cx + n, kCountLimit);
    };

    for (const std::string& line : lines) {
        if (line.size() < 3 || std::string_view(line).substr(0, 3) != key)
            continue;
        if (line.size() >= 5)
            found = true;
        for (std::size_t i = 3; i < line.size(); ++i) {
            const char c = line[i];
            if (c >= '0' && c <= '9') {
                if (digits.size() < 32)
                    digits += c;
                continue;
            }
            if (const int b = BlockBase(c); b >= 0) {
                base = b;
                continue;
            }
            std::int64_t n = RunCount(digits);
            if (n == 0)
                n = 1;
            digits.clear();
            if (c == '.') {
                put(n, 0);
                base = 0;
            } else if (c == '$') {
                cx = 0;
                cy = std::min(cy + n, kCountLimit);
                base = 0;
            } else if (c >= 'A' && c <= 'X') {
                put(n, base + (c - 'A' + 1));
                base = 0;
            }
        }
    }
    return found;
}

bool ReadFieldSectionFile(World& world, const std::filesystem::path& path, std::string_view key) {
    const auto lines = ReadTextLines(path);
    if (!lines)
        return false;
    return ReadFieldSection(world, *lines, key);
}

}  // namespace zentorix
