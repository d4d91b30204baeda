#include "app/census_table.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <fstream>
#include <memory>

#include "app/main_window.h"
#include "app/run_control.h"
#include "census/census_plan.h"
#include "engine/field_regions.h"
#include "formats/text_file.h"

namespace zentorix::app {

namespace {

QString OutcomeText(CensusOutcome outcome) {
    switch (outcome) {
        case CensusOutcome::Dies:
            return QObject::tr("вимирає");
        case CensusOutcome::Still:
            return QObject::tr("застигає");
        case CensusOutcome::Periodic:
            return QObject::tr("періодичне");
        case CensusOutcome::Active:
            return QObject::tr("активне");
    }
    return {};
}

// A cell that sorts by its number.
QTableWidgetItem* Number(qlonglong value) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    return item;
}

}  // namespace

bool OpenCensusFile(MainWindow& window, const QString& path) {
    const std::filesystem::path file = ToPath(path);
    {
        std::ifstream in(file, std::ios::binary);
        char head[16] = {};
        in.read(head, sizeof head);
        if (!LooksLikeCensus(std::string_view(head, static_cast<std::size_t>(in.gcount()))))
            return false;
    }
    const std::optional<std::string> bytes = ReadFileBytes(file);
    const CensusFileContent content = bytes ? ReadCensusText(*bytes) : CensusFileContent{};
    const JsonValue* parameters = content.header.Find("parameters");
    const std::optional<CensusStart> start =
        parameters ? StartOfParameters(*parameters) : std::nullopt;
    if (!bytes || !content.error.empty() || !start) {
        const QString reason = !bytes ? QObject::tr("його не можна прочитати")
                               : !content.error.empty()
                                   ? ToQString(content.error)
                                   : QObject::tr("його параметри не з перепису");
        window.ShowFailure(QObject::tr("Файл перепису \"%1\" не прочитано: %2")
                               .arg(QDir::toNativeSeparators(path), reason));
        return true;
    }
    auto* table = new CensusTable(window, path, *start, content.runs);
    table->setAttribute(Qt::WA_DeleteOnClose);
    table->show();
    return true;
}

CensusTable::CensusTable(MainWindow& window, const QString& path, CensusStart start,
                         std::vector<CensusRunRecord> runs)
    : QDialog(&window), window_(window), start_(std::move(start)), runs_(std::move(runs)) {
    setObjectName("CensusTable");
    setWindowTitle(tr("Перепис правил — %1").arg(QFileInfo(path).fileName()));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(tr("Подвійне клацання відтворює початок прогону"), this);
    hint->setObjectName("CensusHint");
    layout->addWidget(hint);

    table_ = new QTableWidget(static_cast<int>(runs_.size()), 10, this);
    table_->setObjectName("CensusRuns");
    table_->setHorizontalHeaderLabels({tr("Прогін"), tr("Правило"), tr("Зерно"), tr("Підсумок"),
                                       tr("Період"), tr("Покоління"), tr("Спершу"), tr("Мінімум"),
                                       tr("Максимум"), tr("Наприкінці")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    for (int row = 0; row < table_->rowCount(); ++row) {
        const CensusRunRecord& r = runs_[static_cast<std::size_t>(row)];
        QTableWidgetItem* run = Number(static_cast<qlonglong>(r.run));
        run->setData(Qt::UserRole, row);  // the record behind the row, however sorted
        table_->setItem(row, 0, run);
        table_->setItem(row, 1, new QTableWidgetItem(ToQString(r.rule)));
        table_->setItem(row, 2, Number(static_cast<qlonglong>(r.seed)));
        table_->setItem(row, 3, new QTableWidgetItem(OutcomeText(r.outcome)));
        table_->setItem(row, 4, r.period > 0 ? Number(r.period) : new QTableWidgetItem);
        const qlonglong counts[] = {r.generation, r.liveFirst, r.liveMin, r.liveMax, r.liveFinal};
        for (int c = 0; c < 5; ++c)
            table_->setItem(row, 5 + c, Number(counts[c]));
    }
    table_->setSortingEnabled(true);
    table_->sortByColumn(0, Qt::AscendingOrder);
    table_->resizeColumnsToContents();
    connect(table_, &QTableWidget::activated, this,
            [this](const QModelIndex& index) { OpenRun(index.row()); });
    layout->addWidget(table_);
    resize(900, 500);
}

bool CensusTable::OpenRun(int row) {
    const QTableWidgetItem* item = table_->item(row, 0);
    if (!item)
        return false;
    const CensusRunRecord& r = runs_.at(item->data(Qt::UserRole).toULongLong());
    window_.runControl().StopButtonClick();
    Session& session = window_.session();
    World& world = session.world();
    Settings& settings = session.settings();
    const bool built = session.Run([&] {
        if (!start_.base) {
            // The census started from the start-up state: nothing of the field,
            // the rules or the random fills of before.
            EraseRegion(world, settings, WholeFieldRect(world), true);
            world.Counters.Generation = 1;
            world.Rules = std::make_unique<World>()->Rules;
            settings.MainFillRandom = settings.EtenalLifeFillRandom = false;
            settings.EtenalDeadFillRandom = settings.OtherRealFillRandom = false;
        }
        BuildCensusStart(world, settings, start_, r.rule, r.seed);
    });
    window_.ShowLoadedState();
    emit session.FieldChanged();
    return built;
}

}  // namespace zentorix::app
