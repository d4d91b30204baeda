#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QTranslator>

#include "i18n/language_file.h"

namespace zentorix::app {

// The built-in Ukrainian wording of the texts that the language families
// replace; the code asks for them through QCoreApplication::translate with
// this context, so they follow the language wherever they are shown.
inline constexpr char kLanguageContext[] = "Zentorix";
inline constexpr char kColourByAge[] = "Колір за віком";
inline constexpr char kColourByBirth[] = "Колір за народженням";
inline constexpr char kStartCaption[] = "СТАРТ";
inline constexpr char kStopCaption[] = "СТОП";

// The translation of a built-in text in the language in force.
QString LanguageText(const char* builtIn);

// Answers every tr() and translate() of the program from the language file in
// force: its "Text[...]" lines, and the family texts that stand for built-in
// captions (the start button, ColorMode, the overwrite question).
class LanguageTranslator : public QTranslator {
  public:
    using QTranslator::QTranslator;

    // The map of the language just applied; `previous` keeps the last one so
    // a text shown in it can be traced back to its built-in wording.
    void SetLanguage(const LanguageTexts& texts, const LanguageFileContent& content);
    // The built-in text behind a text shown in the current or the previous language.
    QString Source(const QString& shown) const;
    QString Translate(const QString& source) const { return current_.value(source, source); }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override { return current_.isEmpty(); }

  private:
    QHash<QString, QString> current_;
    QHash<QString, QString> reverse_;  // shown text -> built-in, for this and the previous language
};

}  // namespace zentorix::app
