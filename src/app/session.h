#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formats/file_problems.h"
#include "formats/program_folder.h"
#include "model/settings.h"
#include "model/world.h"

namespace zentorix::app {

// One experiment as the window sees it: the world, the settings and the program
// folder, plus the signals through which widgets learn that the model changed.
// Widgets edit the model directly and announce the change; commands that can fail
// report through Failed so the window shows one message box.
class Session : public QObject {
    Q_OBJECT

  public:
    explicit Session(ProgramFolder folder, QObject* parent = nullptr);

    World& world() { return *world_; }
    const World& world() const { return *world_; }
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    const ProgramFolder& folder() const { return folder_; }
    // Back to the program's start-up state (an unreadable settings file).
    void ResetToDefaults();

    // Runs a core command; a FormatError or FileError becomes Failed(message).
    // Gives false when the command failed.
    template <typename Command>
    bool Run(Command&& command) {
        try {
            command();
            return true;
        } catch (const std::exception& e) {
            emit Failed(QString::fromUtf8(e.what()));
            return false;
        }
    }

  signals:
    // Cells of some layer changed: the view repaints.
    void FieldChanged();
    // Settings, rules or the field size may have changed (after a file was read):
    // every widget refreshes from the model.
    void ModelChanged();
    // A command asked the run to stop (StopForLoad, undo).
    void StopRequested();
    // The current file name changed: the window caption follows.
    void FileNameChanged();
    void Failed(const QString& message);
    // A file opened or saved, but with problems the user must hear about.
    void Warned(const QString& message);

  public:
    // Announces the problems of one open or save, if there were any.
    void Report(const std::filesystem::path& file, FileAction action,
                const FileProblems& problems) {
        const std::string text = FileProblemsText(file, action, problems);
        if (!text.empty())
            emit Warned(QString::fromStdString(text));
    }

  private:
    ProgramFolder folder_;
    std::unique_ptr<World> world_;
    Settings settings_;
};

inline QString ToQString(const std::string& s) {
    return QString::fromStdString(s);
}
inline std::string ToStd(const QString& s) {
    return s.toStdString();
}
// The description's lines as one text for a memo, and back (any line end).
inline QString DescriptionText(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << ToQString(line);
    return text.join('\n');
}
inline std::vector<std::string> DescriptionLines(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    std::vector<std::string> lines;
    if (plain.isEmpty())
        return lines;
    for (const QString& line : plain.split('\n'))
        lines.push_back(ToStd(line));
    return lines;
}
inline std::filesystem::path ToPath(const QString& s) {
    return std::filesystem::path(s.toStdU16String());
}
inline QString FromPath(const std::filesystem::path& p) {
    return QString::fromStdU16String(p.u16string());
}

}  // namespace zentorix::app
