#include "app/language_texts.h"

#include <QCoreApplication>

#include "app/library_list.h"

namespace zentorix::app {

QString LanguageText(const char* builtIn) {
    return QCoreApplication::translate(kLanguageContext, builtIn);
}

void LanguageTranslator::SetLanguage(const LanguageTexts& texts,
                                     const LanguageFileContent& content) {
    // What the previous language showed still has to be recognised once.
    QHash<QString, QString> reverse;
    for (auto it = current_.cbegin(); it != current_.cend(); ++it)
        reverse.insert(it.value(), it.key());
    current_.clear();
    for (const auto& [source, translation] : content.texts)
        current_.insert(QString::fromStdString(source), QString::fromStdString(translation));
    const std::pair<const char*, const std::string&> families[] = {
        {kStartCaption, texts.MainStr[0]},
        {kStopCaption, texts.MainStr[1]},
        {kColourByAge, texts.ColorStr[1]},
        {kColourByBirth, texts.ColorStr[2]},
        {kOverwriteQuestion, texts.DiagStr[1]}};
    for (const auto& [source, text] : families)
        current_.insert(QString::fromUtf8(source), QString::fromStdString(text));
    for (auto it = current_.cbegin(); it != current_.cend(); ++it)
        reverse.insert(it.value(), it.key());
    reverse_ = std::move(reverse);
}

QString LanguageTranslator::Source(const QString& shown) const {
    return reverse_.value(shown, shown);
}

QString LanguageTranslator::translate(const char*, const char* sourceText, const char*, int) const {
    if (!sourceText)
        return {};
    const auto it = current_.constFind(QString::fromUtf8(sourceText));
    // An empty answer tells Qt to look further (its own translations).
    return it == current_.cend() ? QString() : it.value();
}

}  // namespace zentorix::app
