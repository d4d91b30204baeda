#include "app/library_list.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

#include "app/language_texts.h"
#include "app/session.h"

namespace zentorix::app {

QComboBox* MakeLibraryList(const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setMaxVisibleItems(20);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(6);
    return list;
}

void ShowStartOfText(QComboBox* list) {
    QLineEdit* edit = list->lineEdit();
    if (edit && !edit->hasFocus())
        edit->setCursorPosition(0);
}

void FillLibraryList(QComboBox* list, int builtIns, const std::vector<std::string>& files) {
    const QSignalBlocker block(list);
    const QString text = list->currentText();
    while (list->count() > builtIns)
        list->removeItem(list->count() - 1);
    for (const std::string& file : files)
        list->addItem(ToQString(file));
    const int index = list->findText(text);
    if (index >= 0)
        list->setCurrentIndex(index);
    else
        list->setEditText(text);
    ShowStartOfText(list);
}

QHBoxLayout* LibraryListRow(QComboBox* list, QPushButton* save) {
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(list, 1);
    const QIcon icon = save->style()->standardIcon(QStyle::SP_DialogSaveButton);
    if (!icon.isNull()) {
        save->setToolTip(save->text());
        save->setText(QString());
        save->setIcon(icon);
    }
    save->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(save);
    return row;
}

bool ConfirmOverwrite(QWidget* parent) {
    return QMessageBox::question(
               parent, QStringLiteral("Zentorix"), LanguageText(kOverwriteQuestion),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace zentorix::app
