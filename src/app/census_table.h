#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "census/census_file.h"
#include "census/census_run.h"

class QTableWidget;

namespace zentorix::app {

class MainWindow;

// Opens the file as a census table when it is a census file (its first line a
// census header) and gives true; gives false for any other file, which the
// open path then reads as usual.
bool OpenCensusFile(MainWindow& window, const QString& path);

// The runs of a census, one a row, sortable by any column. Activating a row (a
// double click, or Enter) sets the run's rule and rebuilds its start in the
// window (base, field, soup and seed), stopped and ready to run.
class CensusTable : public QDialog {
    Q_OBJECT

  public:
    CensusTable(MainWindow& window, const QString& path, CensusStart start,
                std::vector<CensusRunRecord> runs);

    // The run shown in that row (as sorted) is rebuilt; false when it failed.
    bool OpenRun(int row);

  private:
    MainWindow& window_;
    CensusStart start_;
    std::vector<CensusRunRecord> runs_;
    QTableWidget* table_ = nullptr;
};

}  // namespace zentorix::app
