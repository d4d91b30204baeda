#include "view/clipboard_text.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

#include "formats/pattern_load.h"
#include "formats/pattern_text.h"
#include "formats/rle_file.h"
#include "formats/text_file.h"
#include "view/field_editing.h"

namespace zentorix {

namespace {

// A file the readers can open, removed when the decoding is done.
class ScratchFile {
  public:
    explicit ScratchFile(std::string_view text) {
        std::random_device random;
        const auto tag = (static_cast<unsigned long long>(random()) << 32) | random();
        path_ = std::filesystem::temp_directory_path() /
                ("zentorix-clipboard-" + std::to_string(tag) + ".txt");
        WriteFileAtomic(path_, text);
    }
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace

std::string ClipboardRleText(const World& world) {
    // The writer's own world holds the block as its Main Field, with our rule.
    auto scratch = std::make_unique<World>();
    const int lastColumn = std::clamp(world.ClipboardLastColumn, 0, kClipboardHigh);
    const int lastRow = std::clamp(world.ClipboardLastRow, 0, kClipboardHigh);
    scratch->SetFieldWidth(lastColumn);
    scratch->SetFieldHeight(lastRow);
    scratch->MainField.CopyRect(world.ClipboardField, 0, 0, lastColumn, lastRow);
    scratch->Rules[0] = world.Rules[0];
    return RleText(*scratch);
}

std::string DecodeClipboardText(World& world, std::string_view text, bool* isPattern) {
    if (isPattern)
        *isPattern = false;
    if (text.size() > kMaxPatternFileBytes)
        return "The clipboard text is larger than any pattern.";
    const PatternFormat format = ClassifyPatternText(PatternText(std::string(text)));
    if (format == PatternFormat::None || format == PatternFormat::Native ||
        format == PatternFormat::Bitmap)
        return "The clipboard text is not a pattern.";
    if (isPattern)
        *isPattern = true;

    // The readers decode into a world of their own: nothing of ours changes.
    auto scratch = std::make_unique<World>();
    Settings settings;
    settings.ClearForLoad = true;
    settings.StopForLoad = false;
    const ScratchFile file(text);
    OpenPatternFile(*scratch, settings, file.Path());

    const StateField& staging = scratch->StagingGrid;
    int x0 = kPatternHigh + 1, y0 = kPatternHigh + 1, x1 = kPatternLow - 1, y1 = kPatternLow - 1;
    for (int x = kPatternLow; x <= kPatternHigh; ++x) {
        const std::int32_t* column = staging.Column(x) - staging.Low();
        for (int y = kPatternLow; y <= kPatternHigh; ++y)
            if (column[y] > 0) {
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    }
    if (x1 < x0)
        return "The clipboard's pattern has no live cell.";
    x1 = std::min(x1, x0 + kClipboardHigh);
    y1 = std::min(y1, y0 + kClipboardHigh);
    world.ClipboardField.FillRect(0, 0, kClipboardHigh, kClipboardHigh, 0);
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            world.ClipboardField.at(x - x0, y - y0) = staging.at(x, y);
    world.ClipboardLastColumn = x1 - x0;
    world.ClipboardLastRow = y1 - y0;
    return {};
}

}  // namespace zentorix
