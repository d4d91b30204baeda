#pragma once

#include <QWidget>
#include <array>
#include <filesystem>
#include <optional>
#include <string_view>

#include "model/colour_model.h"

class QCheckBox;
class QColorDialog;
class QComboBox;
class QSpinBox;
class QToolButton;

namespace zentorix::app {

class MainWindow;
class PaletteEditor;

// The colours page TabSheet2: the colour scheme (its list, the six colour boxes
// and four switches) and the generation palette (its list, the number of colours
// in use and the editor of the 256 entries). Every change goes through the
// colour model's commands; the field is repainted unless a run is painting it.
class ColoursPage : public QWidget {
    Q_OBJECT

  public:
    explicit ColoursPage(MainWindow& window, QWidget* parent = nullptr);

    // The colour dialog ColorDialog1, starting from the given colour; nothing on
    // cancel.
    std::optional<Colour> PickColour(Colour initial);
    // Both lists: the built-in entries, then the files of the colour folder. The
    // text shown in each list stays.
    void RefreshPaletteLists();

  private:
    struct SchemeBox {
        QToolButton* button;
        Colour ColourModel::*member;
    };

    void BuildScheme(QWidget* group);
    void BuildPalette(QWidget* group);
    void ColourBoxChange(const SchemeBox& box);
    void ColorComboBoxSelect(int index);
    void GenColorComboBoxSelect(int index);
    using SaveCommand = void (*)(const ColourModel&, const std::filesystem::path&,
                                 std::string_view);
    void SaveList(QComboBox* list, std::string_view extension, SaveCommand save);
    void FillLists();
    void ListTextChanged();
    void RefreshFromModel();
    // The field shows the new colours now, unless a run is painting it.
    void RepaintUnlessRunning();
    // Every twin of a changed value follows (tool buttons, menu checks).
    void ModelEdited();

    MainWindow& window_;
    ColourModel& colours_;
    QComboBox* schemes_ = nullptr;
    QComboBox* palettes_ = nullptr;
    std::array<SchemeBox, 6> boxes_{};
    QCheckBox* showBirth_ = nullptr;
    QCheckBox* showDead_ = nullptr;
    QCheckBox* colorOn_ = nullptr;
    QCheckBox* colorMode_ = nullptr;
    QSpinBox* count_ = nullptr;
    PaletteEditor* editor_ = nullptr;
    QColorDialog* dialog_ = nullptr;
};

// ColorOn, the tool button SpeedButton11 and the menu item N4: live cells
// coloured by state, or all in the cell colour. One path for all three.
void ColorOnClick(MainWindow& window, bool on);

}  // namespace zentorix::app
