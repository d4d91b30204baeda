#include "formats/field_section.h"

#include <algorithm>

namespace zentorix {

namespace {

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

namespace {

// Decodes the data lines of one layer, line after line, into the staging grid.
class SectionReader {
  public:
    SectionReader(World& world, std::string_view key)
        : staging_(world.StagingGrid), key_(key), ex_(world.ExtentX()), ey_(world.ExtentY()) {
        staging_.FillRect(-3, -3, ex_, ey_, 0);
    }

    void Line(std::string_view line) {
        if (line.size() < 3 || line.substr(0, 3) != key_)
            return;
        if (line.size() >= 5)
            found_ = true;
        for (std::size_t i = 3; i < line.size(); ++i) {
            const char c = line[i];
            if (c >= '0' && c <= '9') {
                if (digits_.size() < 32)
                    digits_ += c;
                continue;
            }
            if (const int b = BlockBase(c); b >= 0) {
                base_ = b;
                continue;
            }
            std::int64_t n = RunCount(digits_);
            if (n == 0)
                n = 1;
            digits_.clear();
            if (c == '.') {
                Put(n, 0);
                base_ = 0;
            } else if (c == '$') {
                cx_ = 0;
                cy_ = std::min(cy_ + n, kCountLimit);
                base_ = 0;
            } else if (c >= 'A' && c <= 'X') {
                Put(n, base_ + (c - 'A' + 1));
                base_ = 0;
            }
        }
    }

    bool Found() const { return found_; }

  private:
    // n cells of the current row from the current column take the state; cells
    // beyond the extents are cut off but the column still advances.
    void Put(std::int64_t n, std::int32_t state) {
        if (cy_ <= ey_) {
            const std::int64_t last = std::min<std::int64_t>(cx_ + n - 1, ex_);
            for (std::int64_t x = cx_; x <= last; ++x)
                staging_.at(static_cast<int>(x), static_cast<int>(cy_)) = state;
        }
        cx_ = std::min(cx_ + n, kCountLimit);
    }

    StateField& staging_;
    std::string_view key_;
    int ex_, ey_;
    std::int64_t cx_ = 0, cy_ = 0;
    std::int32_t base_ = 0;
    std::string digits_;
    bool found_ = false;
};

}  // namespace

bool ReadFieldSection(World& world, const std::vector<std::string>& lines, std::string_view key) {
    SectionReader reader(world, key);
    for (const std::string& line : lines)
        reader.Line(line);
    return reader.Found();
}

bool ReadFieldSectionText(World& world, std::string_view text, std::string_view key) {
    SectionReader reader(world, key);
    ForEachTextLine(text, [&](std::string_view line) { reader.Line(line); });
    return reader.Found();
}

bool ReadFieldSectionFile(World& world, const std::filesystem::path& path, std::string_view key) {
    const auto text = ReadTextFile(path);
    if (!text)
        return false;
    return ReadFieldSectionText(world, *text, key);
}

}  // namespace zentorix
