#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "app/language_texts.h"
#include "i18n/language_file.h"

class QListWidget;
class QLabel;
class QToolButton;

namespace zentorix::app {

class MainWindow;

// The interface language: applies language files to the whole window, runs the
// language panel (ChangeLanguagePanel) and keeps the rule-name look-up on the
// language in force.
class LanguageControl : public QObject {
    Q_OBJECT

  public:
    explicit LanguageControl(MainWindow& window);
    ~LanguageControl() override;

    // Reads the language file (a name in the Language folder) and sets every
    // caption, list item and composed text it gives; a missing file changes no
    // text. Lists keep their selection and their handlers do not run.
    void ApplyLanguageFile(const QString& fileName);
    // Rebuilds the language table and LanguageListBox, keeping its position.
    void RefreshLanguageList();

    const QString& CurrentLanguageFile() const { return currentFile_; }
    const QString& Code() const { return code_; }
    const LanguageTexts& Texts() const { return texts_; }
    const std::vector<LanguageRecord>& Languages() const { return languages_; }

  private:
    static LanguageTexts DefaultTexts();
    void BuildPanel();
    void PanelShown();
    void LanguageClicked(int row);
    void ChooseSelected();
    void Cancel();
    void ShowFlag(const QString& baseName);
    void Retranslate();
    void SetCaption(const QString& name, const QString& caption);
    void SetListItem(const QString& list, int index, const QString& text);
    void RebuildComposedTexts();

    MainWindow& window_;
    LanguageTranslator* translator_;
    LanguageTexts texts_ = DefaultTexts();
    QString currentFile_;
    QString code_ = QStringLiteral("UA");
    QString fileAtOpen_;  // the language in force when the panel opened
    std::vector<LanguageRecord> languages_;
    QListWidget* list_ = nullptr;
    QLabel* codePanel_ = nullptr;
    QToolButton* flagButton_ = nullptr;
};

}  // namespace zentorix::app
