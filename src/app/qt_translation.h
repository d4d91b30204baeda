#pragma once

#include <QString>

namespace zentorix::app {

// The locale of Qt's own translations (the standard dialogs, their buttons and
// context menus) for a language file name: "ukraine.lng" gives "uk". An unknown
// or empty name gives Ukrainian, the program's own language.
QString QtLocaleOfLanguage(const QString& languageFile);

// Loads Qt's translations for the locale in place of the ones loaded before;
// false when none are installed for it (the dialogs then speak English).
bool UseQtTranslation(const QString& locale);

}  // namespace zentorix::app
