#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <utility>

namespace zentorix::app {

QString QtLocaleOfLanguage(const QString& languageFile) {
    static const std::pair<const char*, const char*> kLocales[] = {
        {"ukr", "uk"}, {"engl", "en"}, {"rus", "ru"},  {"germ", "de"}, {"deut", "de"},
        {"pol", "pl"}, {"fran", "fr"}, {"fren", "fr"}, {"span", "es"}, {"ital", "it"}};
    const QString name = QFileInfo(languageFile).baseName().toLower();
    for (const auto& [start, locale] : kLocales)
        if (name.startsWith(QLatin1String(start)))
            return QLatin1String(locale);
    return QStringLiteral("uk");
}

bool UseQtTranslation(const QString& locale) {
    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    auto next = std::make_unique<QTranslator>();
    if (!next->load(QStringLiteral("qtbase_") + locale,
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator = next.release();
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace zentorix::app
