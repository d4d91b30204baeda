#include "app/snapshot_series.h"

#include <QDir>
#include <QSpinBox>
#include <filesystem>

#include "app/field_editing.h"
#include "app/flow_layout.h"
#include "app/main_window.h"

namespace zentorix::app {

void AddSnapshotSeries(MainWindow& window, ToolGroup* bar) {
    auto* photo = MakeToolButton("PhotoButton9", QObject::tr("Знімки"), false, bar);
    photo->setToolTip(QObject::tr("Серія знімків виділення (інструмент виділення)"));
    // The count is set on the options page, beside the other settings.
    QObject::connect(photo, &QToolButton::clicked, &window, [&window] {
        const auto* count = window.findChild<QSpinBox*>("UpDown1");
        TakeSnapshotSeries(window, count ? count->value() : 10);
    });
    bar->addWidget(photo);
}

int TakeSnapshotSeries(MainWindow& window, int count) {
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
    int written = 0;
    for (int k = 1; k <= count; ++k) {
        const QString name = QStringLiteral("screen%1.bmp").arg(qint64{before} + k + 100000);
        const QString path = FromPath(folder / ToPath(name));
        if (!view.GrabSurface(pixels).save(path, "BMP")) {
            window.ShowFailure(QObject::tr("Знімок %1 не записано; серію зупинено.")
                                   .arg(QDir::toNativeSeparators(path)));
            break;
        }
        ++written;
        window.runControl().StepButtonClick();
    }
    world.SelectionVisible = frameShown;
    view.RedrawView();
    return written;
}

}  // namespace zentorix::app
