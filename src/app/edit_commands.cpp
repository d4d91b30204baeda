#include "app/edit_commands.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>

#include "app/field_editing.h"
#include "app/flow_layout.h"
#include "app/main_window.h"
#include "app/snapshot_series.h"
#include "formats/snapshots.h"

namespace zentorix::app {

namespace {

struct TransformCommand {
    TransformMode mode;
    const char* menuName;
    const char* caption;
    const char* buttonName;
    const char* twinName;  // the tool bar's twin, or none
    const char* symbol;
};

// Captions as the context menu has them.
constexpr TransformCommand kTransforms[] = {
    {TransformMode::Turn90, "Turn90AClock", "Turn on 90 degrees anticlockwise", "Turn90Button",
     "SpeedButton27", "↺"},
    {TransformMode::TurnMinus90, "Turn90Clock", "Turn on 90 degrees clockwise", "Turn270Button",
     "SpeedButton28", "↻"},
    {TransformMode::Turn180, "Turn180", "Turn on 180 degrees", "Turn180Button", nullptr, "⟲"},
    {TransformMode::MirrorColumns, "FlipHorizontall1", "Flip on a horizontal", "MirrorHHButton",
     "SpeedButton30", "⇆"},
    {TransformMode::MirrorRows, "FlipVertical1", "Flip on a vertical", "MirrorVVButton",
     "SpeedButton31", "⇅"},
};

QAction* Action(MainWindow& window, const char* name, const QString& caption,
                const QKeySequence& keys = {}) {
    auto* action = new QAction(caption, &window);
    action->setObjectName(name);
    action->setShortcut(keys);
    return action;
}

}  // namespace

void AddEditCommands(MainWindow& window, FieldEditing& editing, QMenu* edit, QMenu* context) {
    auto on = [&window](QAction* action, auto handler) {
        QObject::connect(action, &QAction::triggered, &window, handler);
        return action;
    };
    // Main menu: these keys act whenever the window is active.
    edit->addSeparator();
    edit->addAction(on(Action(window, "N13", QObject::tr("Очистити виділення"), Qt::Key_Delete),
                       [&editing] { editing.EraseSelection(); }));
    edit->addAction(on(Action(window, "N22", QObject::tr("Вирізати"), Qt::CTRL | Qt::Key_X),
                       [&editing] { editing.CutOrCopy(true); }));
    edit->addAction(on(Action(window, "N21", QObject::tr("Копіювати"), Qt::CTRL | Qt::Key_C),
                       [&editing] { editing.CutOrCopy(false); }));
    edit->addAction(on(Action(window, "N19", QObject::tr("Вставити"), Qt::CTRL | Qt::Key_V),
                       [&editing] { editing.Paste(); }));
    edit->addAction(
        on(Action(window, "SelectAll1", QObject::tr("Виділити все"), Qt::CTRL | Qt::Key_A),
           [&editing] { editing.SelectAll(); }));

    // Context menu.
    context->addSeparator();
    auto* paint = on(Action(window, "PopupMenuPaint", QObject::tr("Малювання"), Qt::Key_F5),
                     [&window] { window.SetPaintTool(true); });
    auto* select = on(Action(window, "PopupMenuSelect", QObject::tr("Виділення"), Qt::Key_F6),
                      [&window] { window.SetPaintTool(false); });
    paint->setCheckable(true);
    select->setCheckable(true);
    context->addActions({paint, select});
    context->addSeparator();
    context->addAction(on(Action(window, "Erase1", "Clear selection", Qt::Key_Delete),
                          [&editing] { editing.EraseSelection(); }));
    context->addAction(
        on(Action(window, "Clear2", "Clear all areas", Qt::CTRL | Qt::SHIFT | Qt::Key_Delete),
           [&window] { window.findChild<QAction*>("ClearAll1")->trigger(); }));
    context->addAction(on(Action(window, "FillRandomSelection2", "Fill random selection"),
                          [&editing] { editing.FillSelection(false); }));
    // Ctrl+F belongs to the context menu only: it acts in the whole window.
    QAction* solid =
        on(Action(window, "Fillsolidselection1", "Fill solid selection", Qt::CTRL | Qt::Key_F),
           [&editing] { editing.FillSelection(true); });
    context->addAction(solid);
    window.addAction(solid);
    context->addSeparator();
    for (const TransformCommand& t : kTransforms)
        context->addAction(on(Action(window, t.menuName, t.caption),
                              [&editing, mode = t.mode] { editing.Transform(mode); }));
    context->addSeparator();
    context->addAction(on(Action(window, "N26", QObject::tr("Вирізати"), Qt::CTRL | Qt::Key_X),
                          [&editing] { editing.CutOrCopy(true); }));
    context->addAction(on(Action(window, "N25", QObject::tr("Копіювати"), Qt::CTRL | Qt::Key_C),
                          [&editing] { editing.CutOrCopy(false); }));
    context->addAction(on(Action(window, "N24", QObject::tr("Вставити"), Qt::CTRL | Qt::Key_V),
                          [&editing] { editing.Paste(); }));
    auto* saveSelection = on(Action(window, "SaveSelection1", QObject::tr("Зберегти виділення..."),
                                    Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                             [&window] { emit window.SaveSelectionRequested(); });
    context->addAction(saveSelection);
    for (QAction* action : context->actions())
        if (action != solid)
            action->setShortcutContext(Qt::WidgetShortcut);

    window.bindings().OnRefresh([&window, paint, select, saveSelection] {
        const bool painting = window.session().settings().Paint;
        paint->setChecked(painting);
        select->setChecked(!painting);
        saveSelection->setEnabled(!painting);
    });
}

namespace {

// One transform's button; the tool bar's twin and the options page's button
// differ only in name and place.
QToolButton* TransformButton(MainWindow& window, const TransformCommand& t, const char* name,
                             QWidget* parent) {
    auto* b = MakeToolButton(name, QString::fromUtf8(t.symbol), false, parent);
    b->setToolTip(t.caption);
    QObject::connect(b, &QToolButton::clicked, &window,
                     [&window, mode = t.mode] { window.editing().Transform(mode); });
    return b;
}

}  // namespace

ToolGroup* BuildEditToolBar(MainWindow& window) {
    auto* bar = new ToolGroup("EditToolBar", &window);
    auto* paint = MakeToolButton("MainPaintButton", QObject::tr("Малювати"), true, bar);
    auto* select = MakeToolButton("MainSelectButton", QObject::tr("Виділити"), true, bar);
    QObject::connect(paint, &QToolButton::clicked, &window,
                     [&window] { window.SetPaintTool(true); });
    QObject::connect(select, &QToolButton::clicked, &window,
                     [&window] { window.SetPaintTool(false); });
    bar->addWidget(paint);
    bar->addWidget(select);
    auto* mode = MakeLabel("ModeEditPanel", QString(), bar);
    mode->setAlignment(Qt::AlignCenter);
    mode->setMinimumWidth(60);
    bar->addWidget(mode);
    window.bindings().OnRefresh([&window, paint, select, mode] {
        const bool painting = window.session().settings().Paint;
        paint->setChecked(painting);
        select->setChecked(!painting);
        mode->setText(painting ? QObject::tr("Малюю") : QObject::tr("Виділяю"));
        QPalette palette = mode->palette();
        palette.setColor(QPalette::Window,
                         painting ? QColor(192, 220, 192) : QColor(166, 202, 240));
        palette.setColor(QPalette::WindowText, Qt::black);
        mode->setPalette(palette);
    });
    bar->addSeparator();
    for (const TransformCommand& t : kTransforms) {
        if (!t.twinName)
            continue;
        bar->addWidget(TransformButton(window, t, t.twinName, bar));
    }
    bar->addSeparator();
    AddSnapshotSeries(window, bar);
    return bar;
}

QWidget* BuildTransformButtons(MainWindow& window, QWidget* parent) {
    auto* group = new QGroupBox(QObject::tr("Виділення"), parent);
    group->setObjectName("TransformGroup");
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    for (const TransformCommand& t : kTransforms) {
        row->addWidget(TransformButton(window, t, t.buttonName, group));
    }
    return group;
}

QWidget* BuildAutomatonPanel(MainWindow& window, QWidget* parent) {
    auto* panel = new QGroupBox(QObject::tr("Автомат"), parent);
    panel->setObjectName("Panel46");
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(2, 2, 2, 2);
    auto* start = MakeToolButton("SpeedButton13", QObject::tr("Крок пари"), false, panel);
    start->setToolTip(QObject::tr("Стерти поле й поставити 1.mlf і 2.mlf з наступним зсувом"));
    auto* count = MakeUpDown("UpDown4", "Edit15", 1, 500, panel);
    count->setToolTip(QObject::tr("Зсувів по горизонталі на один крок по вертикалі"));
    window.bindings().UpDown(count, &Settings::UpDown4);
    QObject::connect(start, &QToolButton::clicked, &window, [&window] {
        Session& session = window.session();
        session.Run([&session] {
            PairPlacementStep(session.world(), session.settings(), session.folder());
        });
        window.fieldView().RedrawView();
    });
    row->addWidget(start);
    row->addWidget(count);
    return panel;
}

}  // namespace zentorix::app
