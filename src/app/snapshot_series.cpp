#include "app/snapshot_series.h"

#include <QCheckBox>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QSpinBox>
#include <climits>
#include <filesystem>
#include <vector>

#include "app/field_editing.h"
#include "app/flow_layout.h"
#include "app/main_window.h"
#include "gif/gif_animation.h"

namespace zentorix::app {

void AddSnapshotSeries(MainWindow& window, ToolGroup* bar) {
    auto* photo = MakeToolButton("PhotoButton9", QObject::tr("Знімки"), false, bar);
    photo->setToolTip(QObject::tr("Серія знімків виділення (інструмент виділення)"));
    // The count is set on the options page, beside the other settings.
    QObject::connect(photo, &QToolButton::clicked, &window, [&window] {
        const auto* count = window.findChild<QSpinBox*>("UpDown1");
        const auto* gif = window.findChild<QCheckBox*>("SnapshotGif");
        TakeSnapshotSeries(window, count ? count->value() : 10, gif && gif->isChecked());
    });
    bar->addWidget(photo);
}

namespace {

// The pictures as one animation: their colours (at most 256 in the program's
// views; any more are drawn in the nearest of the first 256) and their pixels.
std::string WriteAnimation(const std::vector<QImage>& pictures, const std::filesystem::path& file) {
    std::vector<std::uint32_t> palette;
    QHash<QRgb, std::uint8_t> index;
    auto indexOf = [&](QRgb pixel) -> std::uint8_t {
        const QRgb rgb = pixel & 0xFFFFFF;
        if (const auto it = index.constFind(rgb); it != index.cend())
            return it.value();
        std::uint8_t chosen = 0;
        if (palette.size() < 256) {
            palette.push_back(rgb);
            chosen = static_cast<std::uint8_t>(palette.size() - 1);
        } else {
            int best = INT_MAX;
            for (std::size_t i = 0; i < palette.size(); ++i) {
                const int dr = qRed(palette[i]) - qRed(rgb), dg = qGreen(palette[i]) - qGreen(rgb),
                          db = qBlue(palette[i]) - qBlue(rgb);
                if (dr * dr + dg * dg + db * db < best) {
                    best = dr * dr + dg * dg + db * db;
                    chosen = static_cast<std::uint8_t>(i);
                }
            }
        }
        index.insert(rgb, chosen);
        return chosen;
    };
    const int width = pictures.front().width(), height = pictures.front().height();
    std::vector<std::vector<std::uint8_t>> frames;
    for (const QImage& picture : pictures) {
        const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
        std::vector<std::uint8_t>& frame = frames.emplace_back();
        frame.reserve(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < width; ++x)
                frame.push_back(indexOf(line[x]));
        }
    }
    try {
        gif::Animation animation(width, height,
                                 palette.empty() ? std::vector<std::uint32_t>{0} : palette, 100);
        for (const auto& frame : frames)
            animation.AddFrame(frame);
        return animation.Save(file);
    } catch (const gif::GifError& e) {
        return e.what();
    }
}

}  // namespace

int TakeSnapshotSeries(MainWindow& window, int count, bool gif) {
    Session& session = window.session();
    World& world = session.world();
    if (session.settings().Paint || world.Selection.Empty())
        return 0;
    const std::filesystem::path folder = session.folder().Screenshots();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    FieldView& view = window.fieldView();
    // The frame is not to be in the pictures.
    const bool frameShown = world.SelectionVisible;
    world.SelectionVisible = false;
    view.RedrawView();
    const CellRect r = world.Selection;
    const int c = session.settings().CellSize;
    const QRect pixels((r.FirstColumn - 1) * c, (r.FirstRow - 1) * c,
                       (r.LastColumn - r.FirstColumn + 1) * c + 1,
                       (r.LastRow - r.FirstRow + 1) * c + 1);
    const int before = world.Counters.Generation;
    const QString animationPath =
        FromPath(folder / ToPath(QStringLiteral("screen%1.gif").arg(qint64{before} + 1 + 100000)));
    if (gif) {
        const std::string problem = gif::LimitProblem(pixels.width(), pixels.height(), count);
        if (!problem.empty()) {
            window.ShowFailure(
                QObject::tr("Анімацію %1 не записано: %2")
                    .arg(QDir::toNativeSeparators(animationPath), ToQString(problem)));
            world.SelectionVisible = frameShown;
            view.RedrawView();
            return 0;
        }
    }
    std::vector<QImage> pictures;
    int written = 0;
    for (int k = 1; k <= count; ++k) {
        if (gif) {
            pictures.push_back(view.GrabSurface(pixels));
            ++written;
            window.runControl().StepButtonClick();
            continue;
        }
        const QString name = QStringLiteral("screen%1.bmp").arg(qint64{before} + k + 100000);
        const QString path = FromPath(folder / ToPath(name));
        if (!view.GrabSurface(pixels).save(path, "BMP")) {
            window.ShowFailure(QObject::tr("Знімок %1 не записано, серію зупинено.")
                                   .arg(QDir::toNativeSeparators(path)));
            break;
        }
        ++written;
        window.runControl().StepButtonClick();
    }
    world.SelectionVisible = frameShown;
    view.RedrawView();
    if (gif && !pictures.empty()) {
        if (const std::string failure = WriteAnimation(pictures, ToPath(animationPath));
            !failure.empty()) {
            window.ShowFailure(
                QObject::tr("Анімацію %1 не записано: %2")
                    .arg(QDir::toNativeSeparators(animationPath), ToQString(failure)));
            return 0;
        }
    }
    return written;
}

}  // namespace zentorix::app
