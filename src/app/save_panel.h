#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>

#include "formats/save_as.h"

class QFileDialog;
class QFrame;
class QPlainTextEdit;

namespace zentorix::app {

class MainWindow;

// The filters of SaveDialog1: four formats, then "All files (*.*)".
QStringList SaveDialogFilters();
// The format written for the filter chosen (its index) and the name typed: a
// format's filter decides alone; "All files" goes by the typed extension and
// writes a zlf file for any other extension or none.
SaveFormat ChooseSaveFormat(int filterIndex, const std::filesystem::path& file);

// The content of the pop-up SavePanel: which parts a zlf file holds (the ten
// save check boxes), the description, and the save button that asks for a
// file name and format.
class SavePanel : public QObject {
    Q_OBJECT

  public:
    SavePanel(MainWindow& window, QFrame* frame);

    // SaveButton1Click: the description goes back, the dialog asks, the file is
    // written; the run pauses meanwhile. The panel hides once the file is saved.
    void SaveButton1Click();
    // Writes the experiment in the format under the name the format gives the
    // file; asks before replacing a file. False when nothing was written.
    bool Write(SaveFormat format, const std::filesystem::path& file);

  private:
    void Build();

    MainWindow& window_;
    QFrame* frame_;
    QPlainTextEdit* description_ = nullptr;
    QFileDialog* dialog_ = nullptr;
};

}  // namespace zentorix::app
