#pragma once

#include <QString>
#include <QWidget>

#include "model/world.h"

class QBoxLayout;
class QComboBox;
class QLabel;
class QSlider;
class QTabWidget;
class QToolButton;

namespace zentorix::app {

class MainWindow;

// The words of the four rhythm labels ("Через 3 покоління", "На 5 поколінь");
// a language file replaces them.
struct LandscapeTexts {
    QString threshold = QStringLiteral("5");  // from this count on, the plural word
    QString fewWord = QStringLiteral(" покоління");
    QString manyWord = QStringLiteral(" поколінь");
    QString periodPrefix = QStringLiteral("Через ");
    QString intensityPrefix = QStringLiteral("На ");
};

// Prefix, count and the word that goes with the count.
QString GenerationsLabel(const LandscapeTexts& texts, const QString& prefix, int count);

// The landscape page: its page control LandPageControl holds LandControl (the
// Eternal Life, Eternal Dead and Other Reality layers with their rhythm, speed,
// run buttons and library lists) and LandEdit (the paint, display and erase
// targets, the layer copy and the random fills).
class LandscapePage : public QWidget {
    Q_OBJECT

  public:
    explicit LandscapePage(MainWindow& window, QWidget* parent = nullptr);

    // The language's words; the labels are rebuilt at once.
    void SetTexts(const LandscapeTexts& texts);
    // Refills the three layer library lists from the Field folder.
    void RefreshLayerFileLists();

  private:
    struct LayerLibrary {
        Layer layer = Layer::EternalLife;
        QComboBox* list = nullptr;
    };

    QWidget* BuildControlPage();
    QWidget* BuildEditPage();
    QWidget* BuildEternalGroup(QWidget* parent, bool life);
    QWidget* BuildOtherRealityGroup(QWidget* parent);
    void AddLibraryRow(QWidget* parent, QBoxLayout* layout, Layer layer, const char* listName,
                       const char* saveName);
    void LoadLayer(const LayerLibrary& library, int index);
    void SaveLayer(const LayerLibrary& library);
    void RebuildLabels();
    void ShowOtherRealitySpeed(int speed);
    void ShowOtherRealityRunning(bool running);
    void OtherRealityStepClick();
    void FillRandomButtonClick();
    void RefreshFromModel();

    MainWindow& window_;
    LandscapeTexts texts_;
    QTabWidget* pages_ = nullptr;
    // The labels beside the period and intensity up-downs: life, then dead.
    QLabel* rhythmLabels_[4] = {};
    QSlider* speed_ = nullptr;
    QLabel* speedPanel_ = nullptr;
    QToolButton* runButtons_[2] = {};  // SpeedButton2, SpeedButton10
    LayerLibrary libraries_[3];
    int libraryCount_ = 0;
};

}  // namespace zentorix::app
