#pragma once

#include <algorithm>
#include <string>

#include "model/colour_model.h"
#include "model/ranged.h"

namespace zentorix {

// Every option that a control of the main window holds and a file stores, named
// after its control, with the control's range and start value. The GUI binds its
// widgets to these values; the batch program uses them as they are.
struct Settings {
    // Interface and loading.
    int WindowTop = 1;
    int WindowLeft = 1;
    int WindowHeight = 0;  // 0: not yet placed, the window picks its own size
    int WindowWidth = 0;
    Ranged<0, 16, 0> PagesOpen1;  // open page of the tool panel
    Ranged<0, 16, 0> PagesOpen2;  // open page of the landscape pages
    std::string Language;         // name of the language file in use
    bool Grid = true;             // GridOn
    bool Paint = true;            // drawing tool active (else the selection tool)
    bool ShowHints = true;
    bool SaveFieldWhenExit = true;
    bool ClearForLoad = true;
    bool StopForLoad = false;

    // Run control.
    Ranged<0, 1000, 1> SpeedMain;  // SpeedTrackBar: timer interval in ms, 0 = maximum speed
    bool EnableTOR = false;        // TorusOn
    bool AutoStop = false;

    // Landscape.
    bool EternalLifeOn = true;
    Ranged<1, 99, 1> EternalLifePeriod;
    Ranged<1, 99, 1> EternalLifeIntensity;
    bool EternalDeadOn = false;
    Ranged<1, 100, 1> EternalDeadPeriod;
    Ranged<1, 100, 1> EternalDeadIntensity;
    bool MainFillRandom = false;
    bool EtenalLifeFillRandom = false;
    bool EtenalDeadFillRandom = false;
    bool OtherRealFillRandom = false;
    Ranged<0, 100, 25> RandomFillIntensity;
    Ranged<1, 100, 1> RandomFillPeriod;

    // Other Reality.
    bool OtherRealityOn = false;
    bool FeedBack = false;
    bool Synchronization = false;
    Ranged<1, 1500, 20> SpeedOtherReality;

    // Editing targets and options.
    bool MainLifePaint = true;
    bool EternalLifePaint = false;
    bool EternalDeadPaint = false;
    bool OtherRealPaint = false;
    bool MainLifeRefresh = true;
    bool EternalLifeRefresh = true;
    bool EternalDeadRefresh = true;
    bool OtherRealRefresh = true;
    bool MainLifeErase = true;
    bool EternalLifeErase = true;
    bool EternalDeadErase = true;
    bool OtherRealErase = true;
    bool TransparentMode = false;
    Ranged<0, 3, 0> CopyFromComboBox;
    Ranged<0, 3, 0> CopyToComboBox;

    // Museum: where a loaded pattern and its rule go.
    Ranged<0, 3, 0> LoadFieldSelector;
    Ranged<0, 2, 0> LoadRulesSelector;

    // Rules lists.
    int RulesComboBox = -1;  // selected entry of the rules list, -1 none
    Ranged<0, 2, 0> RulesSelectorBox;

    // View.
    Ranged<1, 50, 7> CellSize;
    int SizeCells = 2;  // SizeCellsTrackBar: the cell gap, 1..CellSize
    Ranged<0, 155, 5> SizeBigGrid;

    // Colours and the palette lists.
    ColourModel Colours;
    std::string GenColorComboBoxText = "Жовто-Червона 64";
    std::string ColorComboBoxText = "Колір";
    int ColorComboBoxIndex = 0;

    // Statistics.
    bool AutoScaleY = true;
    Ranged<1, 30, 2> StatisticScaleX;
    Ranged<1, 9999, 1> StatisticScaleY;
    Ranged<30, 300, 100> MaxThreshold;
    Ranged<1, 30, 10> MinThreshold;
    bool AutoStartRecord = false;
    Ranged<1, 32000, 10> StartRecordStatistic;
    Ranged<1, 32000, 300> EndRecordStatistic;

    // Save panel check boxes.
    bool SaveLandCheckBox = false;
    bool SaveMuseumCheckBox = false;
    bool SaveRulesCheckBox = false;
    bool SaveColorPCheckBox = false;
    bool SaveStatCheckBox = false;
    bool SaveOptionCheckBox = false;
    bool SaveColorCheckBox = false;
    bool SaveBirthCheckBox = false;
    bool SaveDeathCheckBox = false;
    bool SaveReal2CheckBox = false;

    // Automaton panel: the number of horizontal offsets of the second pattern per
    // vertical step (up-down UpDown4 with its edit Edit15).
    Ranged<1, 500, 10> UpDown4;

    // The cell gap keeps within 1..CellSize, as its track bar does.
    void SetSizeCells(int gap) { SizeCells = std::clamp(gap, 1, static_cast<int>(CellSize)); }
    // A new cell size lowers a gap that no longer fits, as the track bar's maximum does.
    void SetCellSize(int size) {
        CellSize = size;
        SetSizeCells(SizeCells);
    }
    // The Other Reality layer is saved with the landscape switches it depends on.
    void SetSaveReal2CheckBox(bool on) {
        SaveReal2CheckBox = on;
        if (on)
            SaveLandCheckBox = true;
    }
    // A run never starts, and a file never stores, the maximum-speed position 0.
    void RaiseSpeedFromZero() {
        if (SpeedMain == 0)
            SpeedMain = 1;
    }
    bool AnyRandomFill() const {
        return MainFillRandom || EtenalLifeFillRandom || EtenalDeadFillRandom ||
               OtherRealFillRandom;
    }
};

}  // namespace zentorix
