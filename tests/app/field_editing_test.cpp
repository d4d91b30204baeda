#include "app/field_editing.h"
#include "app/app_test_support.h"
#include "app/popup_panels.h"
#include "app/snapshot_series.h"
#include "core/test_support.h"
#include "engine/rule_text.h"

using namespace zentorix;

namespace {

// Drives the field view PaintBox1 cell by cell, as a mouse would.
struct Pointer {
    test::WindowFixture& f;
    void Send(QEvent::Type type, QPoint cell, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers keys = {}) const {
        QWidget* box = f.Find<QWidget>("PaintBox1");
        const int c = f.settings().CellSize;
        const QPoint p =
            f.view().SurfaceOrigin() + (cell - QPoint(1, 1)) * c + QPoint(c / 2, c / 2);
        QMouseEvent e(type, p, box->mapToGlobal(p), button, buttons, keys);
        QApplication::sendEvent(box, &e);
    }
    // A press on the first cell, moves over the others, the release on the last.
    void Drag(std::initializer_list<QPoint> cells, Qt::KeyboardModifiers keys = {},
              Qt::MouseButton button = Qt::LeftButton) const {
        Send(QEvent::MouseButtonPress, *cells.begin(), button, button, keys);
        for (auto at = cells.begin() + 1; at != cells.end(); ++at)
            Send(QEvent::MouseMove, *at, Qt::NoButton, button, keys);
        Send(QEvent::MouseButtonRelease, *std::prev(cells.end()), button, Qt::NoButton, keys);
    }
};

constexpr Layer kLayers[] = {Layer::Main, Layer::EternalLife, Layer::EternalDead,
                             Layer::OtherReality};

// The 3 x 3 cells from (10, 10) of a layer as rows of letters ('A' state 1), '.' empty.
QString Block(const StateField& field) {
    QString rows;
    for (int y = 10; y <= 12; ++y, rows += '|')
        for (int x = 10; x <= 12; ++x)
            rows += field.at(x, y) > 0 ? QChar('A' + field.at(x, y) - 1) : QChar('.');
    return rows;
}

// The letters of a picture moved on by six for each layer, to tell layers apart.
QString Shifted(QString picture, int layer) {
    for (QChar& c : picture)
        if (c.isLetter())
            c = QChar(c.unicode() + 6 * layer);
    return picture;
}

}  // namespace

class FieldEditingTest : public QObject {
    Q_OBJECT

  private slots:
    void paintDragsClearEveryTargetDoubleClicksOnlySwitchAndRightDragsPan() {
        test::WindowFixture f;
        Pointer mouse{f};
        World& w = f.world();
        Settings& s = f.settings();
        s.EternalLifePaint = s.EternalDeadPaint = s.OtherRealPaint = true;
        for (Layer l : kLayers)
            w.LayerField(l).FillRect(2, 5, 20, 5, 1);
        // A press on a live main cell clears it; the drag, with jumps of several
        // cells, clears every passed cell in all targets.
        mouse.Send(QEvent::MouseButtonPress, {3, 5}, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(w.MainField.at(3, 5) == 0 && w.EternalLifeField.at(3, 5) == 1);
        for (int x : {9, 16, 19})
            mouse.Send(QEvent::MouseMove, {x, 5}, Qt::NoButton, Qt::LeftButton);
        mouse.Send(QEvent::MouseButtonRelease, {19, 5}, Qt::LeftButton, Qt::NoButton);
        for (Layer l : kLayers)
            QCOMPARE(test::LiveCells(w.LayerField(l), 1, 5, 30, 5), (test::Cells{{2, 5}, {20, 5}}));
        QCOMPARE(f.CellPixel(10, 5), app::ToRgb(s.Colours.BackgroundColour));
        QCOMPARE(f.Find<QLabel>("StatusPanel2")->text(), QString("18"));  // 0-based

        // A double click switches the tool and leaves no painted cell; choosing
        // Select stops the run, choosing Paint does not touch it.
        f.Find<QPushButton>("StartButton")->click();
        QVERIFY(f.run().Running());
        mouse.Drag({{8, 9}});
        mouse.Send(QEvent::MouseButtonDblClick, {8, 9}, Qt::LeftButton, Qt::LeftButton);
        mouse.Send(QEvent::MouseButtonRelease, {8, 9}, Qt::LeftButton, Qt::NoButton);
        QVERIFY(w.MainField.at(8, 9) == 0 && !s.Paint && !f.run().Running());
        QVERIFY(f.Text("ModeEditPanel") == "Виділяю" && f.Checked("MainSelectButton"));
        f.Find<QPushButton>("StartButton")->click();
        mouse.Send(QEvent::MouseButtonDblClick, {8, 9}, Qt::LeftButton, Qt::LeftButton);
        QVERIFY(s.Paint && f.run().Running());
        f.run().StopButtonClick();

        // A right drag pans and opens no menu on release; a right click opens it.
        mouse.Drag({{10, 10}, {14, 12}}, {}, Qt::RightButton);
        QVERIFY(!QApplication::activePopupWidget());
        mouse.Drag({{10, 10}}, {}, Qt::RightButton);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu && menu->isVisible());
        menu->close();
    }

    void selectionsDragsTransformsAndTheClipboard() {
        test::WindowFixture f;
        Pointer mouse{f};
        World& w = f.world();
        Settings& s = f.settings();
        f.window->SetPaintTool(false);
        // From, to, the cells selected.
        const std::tuple<QPoint, QPoint, CellRect> rows[] = {{{5, 5}, {9, 8}, {6, 6, 8, 7}},
                                                             {{9, 8}, {5, 5}, {5, 5, 9, 8}}};
        for (const auto& [from, to, selected] : rows) {
            mouse.Drag({from, to});
            QVERIFY(w.Selection == selected && f.Find<QWidget>("Shape1")->isVisible());
        }

        // A plain drag of the frame moves, a Ctrl drag copies.
        const QRect frame = f.Find<QWidget>("Shape1")->geometry();  // on {5, 5, 9, 8}
        w.MainField.FillRect(5, 5, 9, 8, 1);
        mouse.Drag({{6, 6}, {16, 6}});
        QVERIFY(test::LiveCells(w.MainField, 5, 5, 9, 8).empty() &&
                test::LiveCells(w.MainField, 15, 5, 19, 8).size() == 20);
        QVERIFY(!f.Find<QWidget>("Shape1")->isVisible());
        f.Select({15, 5, 19, 8});
        f.view().RedrawView();
        // A click on the frame keeps it on the selection, ten cells right of the first.
        mouse.Drag({{16, 6}});
        QCOMPARE(f.Find<QWidget>("Shape1")->geometry(), frame.translated(10 * s.CellSize, 0));
        mouse.Drag({{16, 6}, {16, 12}}, Qt::ControlModifier);
        QVERIFY(test::LiveCells(w.MainField, 15, 5, 19, 14).size() == 40);

        // Each transform, from the context menu, the options page or the tool
        // bar, turns a block of six distinct cells in every paint target about
        // its corner; undo brings the block back.
        f.Click("ClearAll1");
        s.EternalLifePaint = s.EternalDeadPaint = s.OtherRealPaint = true;
        const std::pair<const char*, QString> transforms[] = {{"Turn90AClock", "CF.|BE.|AD.|"},
                                                              {"SpeedButton28", "DA.|EB.|FC.|"},
                                                              {"Turn180Button", "FED|CBA|...|"},
                                                              {"SpeedButton30", "CBA|FED|...|"},
                                                              {"FlipVertical1", "DEF|ABC|...|"}};
        for (const auto& [control, turned] : transforms) {
            for (int k = 0; k < 4; ++k)
                test::Draw(w.LayerField(kLayers[k]), 10, 10,
                           {Shifted("ABC", k).toStdString(), Shifted("DEF", k).toStdString()});
            f.Select({10, 10, 12, 11});
            f.Click(control);
            for (int k = 0; k < 4; ++k)
                QCOMPARE(Block(w.LayerField(kLayers[k])), Shifted(turned, k));
            f.Click("N14");
            for (int k = 0; k < 4; ++k)
                QCOMPARE(Block(w.LayerField(kLayers[k])), Shifted("ABC|DEF|...|", k));
        }

        // The clipboard with other programs, on a cleared field.
        f.Click("ClearAll1");
        mouse.Send(QEvent::MouseMove, {30, 20}, Qt::NoButton, Qt::NoButton);
        // Copy puts RLE on the system clipboard; cut clears; paste puts it back.
        test::Draw(w.MainField, 3, 3, {".*.", "..*", "***"});
        f.Select({3, 3, 5, 5});
        f.Find<QAction>("N22")->trigger();
        QVERIFY(QGuiApplication::clipboard()->text().contains("x = 3, y = 3, rule = B3/S23"));
        QVERIFY(test::LiveCells(w.MainField, 1, 1, 10, 10).empty());
        f.Find<QAction>("N19")->trigger();
        QVERIFY(test::LiveCells(w.MainField, 30, 20, 32, 22).size() == 5);

        // Another program's RLE: its cells come, our rule stays.
        const std::string rule = FormatRuleTokens(w.Rules[0]);
        QGuiApplication::clipboard()->setText("#N blinker\nx = 3, y = 1, rule = B36/S23\n3o!\n");
        mouse.Send(QEvent::MouseMove, {20, 30}, Qt::NoButton, Qt::NoButton);
        f.Find<QAction>("N19")->trigger();
        QVERIFY(test::LiveCells(w.MainField, 20, 30, 22, 30).size() == 3 &&
                FormatRuleTokens(w.Rules[0]) == rule);
        // Pattern text without cells is said, and nothing is pasted.
        QString said;
        f.window->SetMessageSink([&said](const QString& m) { said = m; });
        QGuiApplication::clipboard()->setText("x = 3, y = 3\n3b!\n");
        f.Find<QAction>("N19")->trigger();
        QVERIFY(!said.isEmpty());
        // Delete clears the selected cells of the layers that are erase targets.
        s.OtherRealErase = false;
        w.OtherRealityField.at(31, 21) = 1;
        f.Select({30, 20, 32, 22});
        f.Click("N13");
        QVERIFY(!w.MainField.at(31, 22) && w.OtherRealityField.at(31, 21));
    }

    // A picture is the view's own drawing of the selection, without its frame,
    // before each step: the first is what the view shows now, pixel for pixel.
    // As one animation, each frame is a generation; past the frame size, or
    // where a picture cannot be written, the series stops and says why.
    void snapshotSeriesAsPicturesAndAsOneAnimation() {
        test::WindowFixture f;
        World& w = f.world();
        w.MainField.FillRect(4, 4, 6, 4, 1);  // a blinker
        w.Selection = {3, 2, 7, 4};
        QCOMPARE(app::TakeSnapshotSeries(*f.window, 3), 0);  // Paint tool: nothing
        f.window->SetPaintTool(false);
        w.Counters.Generation = 25;
        const int c = f.settings().CellSize;
        const QRect selection(2 * c, 1 * c, 5 * c + 1, 3 * c + 1);
        w.SelectionVisible = false;
        f.view().RedrawView();
        const QImage shown = f.view().GrabSurface(selection).convertToFormat(QImage::Format_RGB32);
        w.SelectionVisible = true;
        QCOMPARE(app::TakeSnapshotSeries(*f.window, 3), 3);
        QImage pictures[3];
        for (int k = 0; k < 3; ++k)
            pictures[k] =
                QImage(f.dir.filePath(QStringLiteral("screenshots/screen1000%1.bmp").arg(26 + k)))
                    .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(pictures[0], shown);
        QVERIFY(pictures[1] != pictures[0] && pictures[2] != pictures[1]);  // it turned
        // The blinker turned three times.
        QVERIFY(w.Counters.Generation == 28 && w.MainField.at(5, 3) == 1);

        // As an animation of four frames, from the photo button.
        w.Selection = {3, 2, 7, 6};
        f.Find<QCheckBox>("SnapshotGif")->setChecked(true);
        f.SetValue("UpDown1", 4);
        QTest::mouseClick(f.Find<QToolButton>("PhotoButton9"), Qt::LeftButton);
        QImageReader reader(f.dir.filePath("screenshots/screen100029.gif"));
        QVERIFY(reader.imageCount() == 4 && reader.size() == QSize(5 * c + 1, 5 * c + 1));
        // The blinker's end cell (4, 4) is live in frames 1 and 3 only.
        for (int k = 0; k < 4; ++k) {
            const QImage frame = reader.read();
            const QColor end = frame.pixelColor(c + c / 2, 2 * c + c / 2);         // cell (4, 4)
            const QColor middle = frame.pixelColor(2 * c + c / 2, 2 * c + c / 2);  // cell (5, 4)
            const QColor empty = frame.pixelColor(c / 2, c / 2);                   // cell (3, 2)
            QVERIFY((end != empty) == (k % 2 == 1) && middle != empty);
        }
        QVERIFY(!QFile::exists(f.dir.filePath("screenshots/screen100029.bmp")) &&
                w.Counters.Generation == 32);
        QCOMPARE(app::TakeSnapshotSeries(*f.window, 1, true), 1);  // the frames written

        QString said;
        f.window->SetMessageSink([&said](const QString& m) { said = m; });
        QVERIFY(QDir(f.dir.path()).mkpath("screenshots/screen100034.bmp"));
        QCOMPARE(app::TakeSnapshotSeries(*f.window, 3), 0);
        QVERIFY(said.contains("screen100034.bmp") && w.Counters.Generation == 33);
        w.Selection = {1, 1, 999, 999};
        f.settings().CellSize = 50;
        QVERIFY(app::TakeSnapshotSeries(*f.window, 2, true) == 0 && said.contains("4096"));
    }
};

QTEST_MAIN(FieldEditingTest)
#include "field_editing_test.moc"
